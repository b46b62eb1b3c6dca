// The browser build's fixed-function pipeline, shared by its files: the state that the OpenGL 1.x
// calls keep on the CPU (fixed_function.cpp, matrix_stacks.cpp), GLU's and GLUT's matrices and
// shapes (camera_matrices.cpp, shapes.cpp), and the WebGL side that draws (webgl_batches.cpp,
// culling.cpp, lighting_shader.cpp). Nothing outside src/platform/web includes it.
#pragma once

#include <GL/gl.h>

#include <array>
#include <vector>

using Matrix = std::array<GLfloat, 16>;  // column-major, as OpenGL keeps it
using Colour = std::array<GLfloat, 4>;

constexpr Matrix kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// GL's stack depths, as Mesa has them: a push beyond is refused as GL_STACK_OVERFLOW.
constexpr size_t kModelviewStackLimit = 32;
constexpr size_t kProjectionStackLimit = 32;
constexpr size_t kAttributeStackLimit = 16;

// The capabilities glEnable switches, as bits.
enum Switch : GLbitfield {
    kDepthTest = 1 << 0,
    kLighting = 1 << 1,
    kLight0 = 1 << 2,
    kColourMaterial = 1 << 3,  // ambient and diffuse material follow the current colour
    kNormalize = 1 << 4,
};

struct LightColours {
    Colour ambient = {0, 0, 0, 1};
    Colour diffuse = {1, 1, 1, 1};
    Colour specular = {1, 1, 1, 1};
};

struct Material {
    Colour ambient = {0.2f, 0.2f, 0.2f, 1};
    Colour diffuse = {0.8f, 0.8f, 0.8f, 1};
    Colour specular = {0, 0, 0, 1};
    Colour emission = {0, 0, 0, 1};
    GLfloat shininess = 0;
};

// What holds for a whole batch of draws: any change ends the batch. It has 4-byte fields only, so
// that two of them compare as bytes.
struct BatchState {
    Matrix projection;
    std::array<GLint, 4> viewport;
    GLbitfield switches;
    Colour sceneAmbient;  // the light model's
    LightColours light;
    Material material;
};

// What each vertex of one draw of a shape reads beside its own position and normal.
struct Instance {
    Matrix modelview;
    Colour colour;
    Colour lightPosition;  // in eye coordinates
};

// Everything glPushAttrib saves, at GL's initial values. GL_LIGHT0 is the only light.
struct Attributes {
    Colour colour = {1, 1, 1, 1};
    std::array<GLfloat, 3> normal = {0, 0, 1};
    GLbitfield switches = 0;
    LightColours light;
    Colour lightPosition = {0, 0, 1, 0};
    Material material;
    Colour sceneAmbient = {0.2f, 0.2f, 0.2f, 1};
    std::array<GLint, 4> viewport = {0, 0, 0, 0};  // the window's, once there is one
    Colour clearColour = {0, 0, 0, 0};
    GLenum matrixMode = GL_MODELVIEW;
};

struct MatrixStack {
    explicit MatrixStack(size_t limit) : levels{kIdentity}, limit(limit) { levels.reserve(limit); }
    std::vector<Matrix> levels;  // the last is the current matrix
    size_t limit;
};

struct LineVertex {
    std::array<GLfloat, 3> position;
    std::array<GLfloat, 3> normal;
    Colour colour;
};

// One context's state.
struct State {
    Attributes now;
    std::vector<std::pair<GLbitfield, Attributes>> savedAttributes;  // with the mask pushed
    MatrixStack modelview{kModelviewStackLimit};
    MatrixStack projection{kProjectionStackLimit};
    GLenum error = GL_NO_ERROR;
    bool betweenBeginAndEnd = false;
    std::vector<LineVertex> lines;  // since glBegin
};

// The state of the WebGL context current now, for each GL call to begin with: a context it has
// not seen starts from GL's initial state and makes its GPU objects anew.
State& state();
void recordError(State& s, GLenum error);  // kept until glGetError reads it, as GL keeps the first
MatrixStack& currentStack(State& s);       // the one glMatrixMode chose
void multiplyMatrix(State& s, const Matrix& m);  // the current matrix times m, as glMultMatrixf
BatchState batchStateOf(const State& s);
Instance instanceOf(const State& s);

// A shape as GLUT or GLU tessellates it: six floats a vertex (position, normal) and three vertex
// numbers a triangle. A closed shape's triangles turn anticlockwise seen from outside, and its
// inside never shows unless it is cut open.
struct Mesh {
    std::vector<GLfloat> vertices;
    std::vector<GLuint> triangles;
    bool closed = false;
};

// A shape is known by its kind and parameters, and tessellated once per context.
struct ShapeKey {
    int kind;
    std::array<double, 3> size;
    GLint slices, stacks;
};

// What need not be drawn (culling.cpp): draws wholly outside the view, and back faces of closed
// shapes. While its inside cannot show, a closed shape's back faces lie behind its front faces:
// leaving them out draws the same pixels with half the triangles.
struct FaceSet {
    bool closed = false;
    GLfloat radius = 0;           // of the sphere round the shape's origin that holds it
    std::vector<GLfloat> planes;  // each triangle's corner, normal and perimeter over area
    std::vector<GLuint> triangles;
};
FaceSet faceSetOf(const Mesh& mesh);

// What the batch's projection and viewport tell about culling: the view's sides, where the near
// plane lies (0 where no back faces may be culled) and how many pixels a unit spans at a distance
// of 1.
struct CullingView {
    std::array<std::array<GLfloat, 4>, 6> sides;
    GLfloat nearPlane;
    GLfloat pixelsPerUnit;
};
CullingView cullingViewOf(const BatchState& batch);
bool outsideView(const FaceSet& faces, const Matrix& modelview, const CullingView& view);
bool backFacesHidden(const FaceSet& faces, const Matrix& modelview, const CullingView& view);
void appendFrontFaces(const FaceSet& faces, const Matrix& modelview, const CullingView& view,
                      GLuint firstVertex, std::vector<GLushort>& indices);

// The WebGL side. Shapes are queued, and drawn grouped by shape at glFlush, glClear, glReadPixels,
// a batch of lines, or a change of the batch state: everything is opaque and depth-tested, so the
// order of the draws does not show.
void drawShape(const State& s, const ShapeKey& key, Mesh (*tessellate)(const ShapeKey&));
void drawLines(const State& s, const std::vector<LineVertex>& vertices);
void flushDraws();
void forgetGpuObjects();  // they went with their context: start afresh, touching no GL

// The program that lights each vertex as GL's fixed-function pipeline does. A batch draws many
// instances in one WebGL draw: each vertex names its instance's slot in a uniform array.
enum ShaderAttribute : GLuint {
    kPositionAttribute,
    kNormalAttribute,
    kSlotAttribute,
    kVertexColourAttribute,  // lines only: their colour may change from vertex to vertex
    kAttributeCount
};
constexpr int kVectorsPerInstance = sizeof(Instance) / sizeof(Colour);

struct LightingShader {
    GLuint program;
    int slots;  // instances one draw can hold
    GLint instances, coloursPerVertex, projection, lighting, light0, colourMaterial, normalize;
    GLint sceneAmbient, lightAmbient, lightDiffuse, lightSpecular;
    GLint materialAmbient, materialDiffuse, materialSpecular, materialEmission, shininess;
};
LightingShader buildLightingShader();
void setBatchUniforms(const LightingShader& shader, const BatchState& batch);
