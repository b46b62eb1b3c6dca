// GLU's lens, eye and projection of points for the browser build, computed as GLU 9.0 computes
// them: the lens in double precision, the eye in single precision, each multiplied into the
// current matrix as GLU does through glMultMatrix and glTranslate.
#include "fixed_function.h"

#include <GL/glu.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// GLU's vector helpers work in floats; the length is a double square root of a float sum.
void normalize(GLfloat v[3]) {
    const GLfloat length = std::sqrt(double(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    if (length == 0) return;
    for (int i = 0; i < 3; ++i) v[i] /= length;
}

void cross(const GLfloat a[3], const GLfloat b[3], GLfloat out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// A column-major matrix times a column vector, in doubles.
void transform(const GLdouble m[16], const double in[4], double out[4]) {
    for (int i = 0; i < 4; ++i) {
        out[i] = in[0] * m[i] + in[1] * m[4 + i] + in[2] * m[8 + i] + in[3] * m[12 + i];
    }
}

}  // namespace

extern "C" {

// The matrix is built in doubles and goes in as floats, as glMultMatrixd takes it.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    const double radians = fovy / 2 * kPi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) return;
    const double cotangent = std::cos(radians) / sine;
    Matrix m = kIdentity;
    m[0] = GLfloat(cotangent / aspect);
    m[5] = GLfloat(cotangent);
    m[10] = GLfloat(-(zFar + zNear) / deltaZ);
    m[11] = -1;
    m[14] = GLfloat(-2 * zNear * zFar / deltaZ);
    m[15] = 0;
    multiplyMatrix(state(), m);
}

// A turn that looks along forward with up above, then a step back from the eye.
void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
    GLfloat forward[3] = {GLfloat(centreX - eyeX), GLfloat(centreY - eyeY),
                          GLfloat(centreZ - eyeZ)};
    GLfloat up[3] = {GLfloat(upX), GLfloat(upY), GLfloat(upZ)};
    GLfloat side[3];
    normalize(forward);
    cross(forward, up, side);
    normalize(side);
    cross(side, forward, up);
    Matrix turn = kIdentity;
    for (int i = 0; i < 3; ++i) {
        turn[4 * i] = side[i];
        turn[4 * i + 1] = up[i];
        turn[4 * i + 2] = -forward[i];
    }
    State& s = state();
    multiplyMatrix(s, turn);
    Matrix step = kIdentity;
    step[12] = GLfloat(-eyeX);
    step[13] = GLfloat(-eyeY);
    step[14] = GLfloat(-eyeZ);
    multiplyMatrix(s, step);
}

GLint gluProject(GLdouble objX, GLdouble objY, GLdouble objZ, const GLdouble* model,
                 const GLdouble* projection, const GLint* viewport, GLdouble* winX, GLdouble* winY,
                 GLdouble* winZ) {
    double in[4] = {objX, objY, objZ, 1.0}, out[4];
    transform(model, in, out);
    transform(projection, out, in);
    if (in[3] == 0.0) return GL_FALSE;
    for (int i = 0; i < 3; ++i) in[i] = in[i] / in[3] * 0.5 + 0.5;
    *winX = in[0] * viewport[2] + viewport[0];
    *winY = in[1] * viewport[3] + viewport[1];
    *winZ = in[2];
    return GL_TRUE;
}

}  // extern "C"
