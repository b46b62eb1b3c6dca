// The modelview and projection matrix stacks of the browser build, in single precision as Mesa
// keeps them, so that a query returns what the desktop's would.
#include "fixed_function.h"

MatrixStack& currentStack(State& s) {
    return s.now.matrixMode == GL_PROJECTION ? s.projection : s.modelview;
}

// Each element sums its four products from left to right, in floats, as Mesa's does: the queries
// the tests make see the same bits.
void multiplyMatrix(State& s, const Matrix& b) {
    Matrix& a = currentStack(s).levels.back();
    const Matrix left = a;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            const GLfloat* right = &b[4 * column];
            a[4 * column + row] = left[row] * right[0] + left[row + 4] * right[1] +
                                  left[row + 8] * right[2] + left[row + 12] * right[3];
        }
    }
}

extern "C" {

void glMatrixMode(GLenum mode) {
    State& s = state();
    if (mode != GL_MODELVIEW && mode != GL_PROJECTION) return recordError(s, GL_INVALID_ENUM);
    s.now.matrixMode = mode;
}

void glLoadIdentity() {
    State& s = state();
    currentStack(s).levels.back() = kIdentity;
}

void glMultMatrixf(const GLfloat* m) {
    Matrix b;
    std::copy(m, m + 16, b.begin());
    multiplyMatrix(state(), b);
}

void glPushMatrix() {
    State& s = state();
    MatrixStack& stack = currentStack(s);
    if (stack.levels.size() >= stack.limit) return recordError(s, GL_STACK_OVERFLOW);
    stack.levels.push_back(stack.levels.back());
}

void glPopMatrix() {
    State& s = state();
    MatrixStack& stack = currentStack(s);
    if (stack.levels.size() == 1) return recordError(s, GL_STACK_UNDERFLOW);
    stack.levels.pop_back();
}

}  // extern "C"
