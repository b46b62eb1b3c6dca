// The browser build's WebGL side. Every WebGL call is a crossing from WebAssembly into JavaScript,
// and the biggest scene draws thousands of small shapes a frame; instanced drawing would not help,
// for the browser's software renderer runs each instance as a draw of its own. So each shape's
// vertices sit in a GPU buffer as many copies, the copy's number beside each vertex, made once
// per context when the shape is first drawn; the queued draws of a shape go into a uniform array,
// one slot a draw, and one WebGL draw draws as many as there are copies. Draws outside the view
// are left out, and so are the back faces of closed shapes where those cannot show (culling.cpp).
#include "fixed_function.h"

#include <emscripten/html5.h>
#include <webgl/webgl1.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

constexpr size_t kMeshFloats = 6;          // position and normal, as a Mesh has them
constexpr size_t kCopyFloats = 7;          // and the slot of the draw the copy stands for
constexpr size_t kCopiedVertices = 16384;  // a shape's buffer holds as many copies as fit
constexpr GLuint kMaxShortIndex = 0xFFFF;  // more vertices need 32-bit vertex numbers
constexpr int kPackAlignment = 4;          // GL's initial GL_PACK_ALIGNMENT: rows start at 4s
static_assert(sizeof(Instance) == kVectorsPerInstance * sizeof(Colour), "instances are vectors");
static_assert(sizeof(LineVertex) == 10 * sizeof(GLfloat), "line vertices are packed floats");

struct ShapeBuffers {
    ShapeKey key;
    FaceSet faces;
    GLuint vertices = 0;
    GLuint indices = 0;
    GLsizei indicesPerCopy = 0;
    GLuint vertexCount = 0;  // of one copy
    size_t copies = 0;
    GLenum indexType = GL_UNSIGNED_SHORT;
    std::array<std::vector<Instance>, 2> queued;  // drawn whole, and with back faces culled
    bool isQueued() const { return !queued[0].empty() || !queued[1].empty(); }
};

struct Gpu {
    bool ready = false;  // its objects exist in the current context
    LightingShader shader{};
    GLuint lineBuffer = 0;
    GLuint frontFaceBuffer = 0;  // the triangles of closed shapes that face the eye
    std::vector<GLushort> frontFaces;
    std::vector<ShapeBuffers> shapes;
    size_t lastShape = 0;
    std::vector<size_t> queuedShapes;  // with draws waiting, in the order of their first
    BatchState queuedBatch{};          // the state all waiting draws share
    CullingView queuedView{};          // what its projection and viewport allow to cull
    BatchState appliedBatch{};         // the one WebGL has now
    bool batchApplied = false;
    bool drawingLines = false;  // the vertex arrays are set for lines
    bool culling = false;
    std::vector<unsigned char> rgbaFrame;  // glReadPixels' RGBA before it is cut to RGB
};

Gpu gpu;

bool sameShape(const ShapeKey& a, const ShapeKey& b) {
    return a.kind == b.kind && a.size == b.size && a.slices == b.slices && a.stacks == b.stacks;
}

bool sameBatch(const BatchState& a, const BatchState& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The context's own state is set in full: the page may have used the context before.
void makeObjects() {
    if (gpu.ready) return;
    gpu.ready = true;
    emscripten_webgl_enable_extension(emscripten_webgl_get_current_context(),
                                      "OES_element_index_uint");
    gpu.shader = buildLightingShader();
    emscripten_glUseProgram(gpu.shader.program);
    GLuint buffers[2];
    emscripten_glGenBuffers(2, buffers);
    gpu.lineBuffer = buffers[0];
    gpu.frontFaceBuffer = buffers[1];
    emscripten_glEnableVertexAttribArray(kPositionAttribute);
    emscripten_glEnableVertexAttribArray(kNormalAttribute);
    emscripten_glEnableVertexAttribArray(kSlotAttribute);
    emscripten_glDisableVertexAttribArray(kVertexColourAttribute);
    emscripten_glUniform1i(gpu.shader.coloursPerVertex, false);
    emscripten_glDepthFunc(GL_LESS);
    emscripten_glDisable(GL_CULL_FACE);
    emscripten_glCullFace(GL_BACK);
    emscripten_glFrontFace(GL_CCW);
    emscripten_glDisable(GL_BLEND);
}

void applyBatch(const BatchState& batch) {
    if (gpu.batchApplied && sameBatch(batch, gpu.appliedBatch)) return;
    setBatchUniforms(gpu.shader, batch);
    const auto& v = batch.viewport;
    emscripten_glViewport(v[0], v[1], v[2], v[3]);
    if (batch.switches & kDepthTest) {
        emscripten_glEnable(GL_DEPTH_TEST);
    } else {
        emscripten_glDisable(GL_DEPTH_TEST);
    }
    gpu.appliedBatch = batch;
    gpu.batchApplied = true;
}

// Lines take their colour from each vertex and are all one draw, in slot 0; shapes take theirs
// from their draw's slot.
void setDrawingLines(bool lines) {
    if (gpu.drawingLines == lines) return;
    gpu.drawingLines = lines;
    if (lines) {
        emscripten_glDisableVertexAttribArray(kSlotAttribute);
        emscripten_glVertexAttrib1f(kSlotAttribute, 0);
        emscripten_glEnableVertexAttribArray(kVertexColourAttribute);
    } else {
        emscripten_glEnableVertexAttribArray(kSlotAttribute);
        emscripten_glDisableVertexAttribArray(kVertexColourAttribute);
    }
    emscripten_glUniform1i(gpu.shader.coloursPerVertex, lines);
}

void pointAt(GLuint attribute, GLint size, GLsizei stride, size_t offset) {
    emscripten_glVertexAttribPointer(attribute, size, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<const void*>(offset));
}

template <typename Index>
void uploadIndices(const std::vector<GLuint>& numbers) {
    const std::vector<Index> indices(numbers.begin(), numbers.end());
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, indices.size() * sizeof(Index), indices.data(),
                            GL_STATIC_DRAW);
}

ShapeBuffers makeShape(const ShapeKey& key, const Mesh& mesh) {
    ShapeBuffers shape;
    shape.key = key;
    const size_t vertexCount = mesh.vertices.size() / kMeshFloats;
    shape.vertexCount = vertexCount;
    shape.indicesPerCopy = mesh.triangles.size();
    shape.faces = faceSetOf(mesh);
    shape.copies = std::clamp(kCopiedVertices / std::max<size_t>(vertexCount, 1), size_t(1),
                              size_t(gpu.shader.slots));
    std::vector<GLfloat> vertices;
    std::vector<GLuint> numbers;
    vertices.reserve(shape.copies * vertexCount * kCopyFloats);
    numbers.reserve(shape.copies * mesh.triangles.size());
    for (size_t copy = 0; copy < shape.copies; ++copy) {
        for (size_t v = 0; v < vertexCount; ++v) {
            const GLfloat* from = &mesh.vertices[v * kMeshFloats];
            vertices.insert(vertices.end(), from, from + kMeshFloats);
            vertices.push_back(copy);
        }
        for (GLuint n : mesh.triangles) numbers.push_back(copy * vertexCount + n);
    }
    GLuint buffers[2];
    emscripten_glGenBuffers(2, buffers);
    shape.vertices = buffers[0];
    shape.indices = buffers[1];
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, shape.vertices);
    emscripten_glBufferData(GL_ARRAY_BUFFER, vertices.size() * sizeof(GLfloat), vertices.data(),
                            GL_STATIC_DRAW);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, shape.indices);
    if (shape.copies * vertexCount > kMaxShortIndex) {
        shape.indexType = GL_UNSIGNED_INT;
        uploadIndices<GLuint>(numbers);
    } else {
        uploadIndices<GLushort>(numbers);
    }
    return shape;
}

size_t shapeFor(const ShapeKey& key, Mesh (*tessellate)(const ShapeKey&)) {
    if (gpu.lastShape < gpu.shapes.size() && sameShape(gpu.shapes[gpu.lastShape].key, key)) {
        return gpu.lastShape;
    }
    auto found = std::find_if(gpu.shapes.begin(), gpu.shapes.end(),
                              [&key](const ShapeBuffers& s) { return sameShape(s.key, key); });
    if (found == gpu.shapes.end()) {
        makeObjects();
        gpu.shapes.push_back(makeShape(key, tessellate(key)));
        found = gpu.shapes.end() - 1;
    }
    gpu.lastShape = found - gpu.shapes.begin();
    return gpu.lastShape;
}

void setCulling(bool culling) {
    if (gpu.culling == culling) return;
    gpu.culling = culling;
    if (culling) {
        emscripten_glEnable(GL_CULL_FACE);
    } else {
        emscripten_glDisable(GL_CULL_FACE);
    }
}

// One WebGL draw of count queued draws of a shape. Where back faces are hidden, only the triangles
// that face the eye go, chosen anew each time, and WebGL culls too, for those seen edge on.
void drawCopies(const ShapeBuffers& shape, const Instance* queued, size_t count, bool culled) {
    emscripten_glUniform4fv(gpu.shader.instances, count * kVectorsPerInstance,
                            queued->modelview.data());
    if (!culled || shape.indexType != GL_UNSIGNED_SHORT) {
        emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, shape.indices);
        emscripten_glDrawElements(GL_TRIANGLES, count * shape.indicesPerCopy, shape.indexType, 0);
        return;
    }
    gpu.frontFaces.clear();
    for (size_t slot = 0; slot < count; ++slot) {
        appendFrontFaces(shape.faces, queued[slot].modelview, gpu.queuedView,
                         slot * shape.vertexCount, gpu.frontFaces);
    }
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.frontFaceBuffer);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER, gpu.frontFaces.size() * sizeof(GLushort),
                            gpu.frontFaces.data(), GL_STREAM_DRAW);
    emscripten_glDrawElements(GL_TRIANGLES, gpu.frontFaces.size(), GL_UNSIGNED_SHORT, 0);
}

void drawQueued(ShapeBuffers& shape) {
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, shape.vertices);
    constexpr GLsizei stride = kCopyFloats * sizeof(GLfloat);
    pointAt(kPositionAttribute, 3, stride, 0);
    pointAt(kNormalAttribute, 3, stride, 3 * sizeof(GLfloat));
    pointAt(kSlotAttribute, 1, stride, 6 * sizeof(GLfloat));
    for (bool culled : {false, true}) {
        std::vector<Instance>& queued = shape.queued[culled];
        if (queued.empty()) continue;
        setCulling(culled);
        for (size_t first = 0; first < queued.size(); first += shape.copies) {
            drawCopies(shape, &queued[first], std::min(shape.copies, queued.size() - first),
                       culled);
        }
        queued.clear();
    }
}

}  // namespace

void forgetGpuObjects() {
    gpu = Gpu();
}

void drawShape(const State& s, const ShapeKey& key, Mesh (*tessellate)(const ShapeKey&)) {
    const BatchState batch = batchStateOf(s);
    if (gpu.queuedShapes.empty() || !sameBatch(batch, gpu.queuedBatch)) {
        flushDraws();
        gpu.queuedBatch = batch;
        gpu.queuedView = cullingViewOf(batch);
    }
    const size_t index = shapeFor(key, tessellate);
    ShapeBuffers& shape = gpu.shapes[index];
    const Instance instance = instanceOf(s);
    if (shape.indicesPerCopy == 0 || outsideView(shape.faces, instance.modelview, gpu.queuedView)) {
        return;
    }
    if (!shape.isQueued()) gpu.queuedShapes.push_back(index);
    const bool culled = backFacesHidden(shape.faces, instance.modelview, gpu.queuedView);
    shape.queued[culled].push_back(instance);
}

void flushDraws() {
    if (gpu.queuedShapes.empty()) return;
    applyBatch(gpu.queuedBatch);
    setDrawingLines(false);
    for (size_t index : gpu.queuedShapes) drawQueued(gpu.shapes[index]);
    gpu.queuedShapes.clear();
}

// Lines are drawn at once, after the shapes queued before them.
void drawLines(const State& s, const std::vector<LineVertex>& vertices) {
    flushDraws();
    if (vertices.empty()) return;
    makeObjects();
    applyBatch(batchStateOf(s));
    setDrawingLines(true);
    setCulling(false);
    const Instance instance = instanceOf(s);
    emscripten_glUniform4fv(gpu.shader.instances, kVectorsPerInstance, instance.modelview.data());
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, gpu.lineBuffer);
    emscripten_glBufferData(GL_ARRAY_BUFFER, vertices.size() * sizeof(LineVertex), vertices.data(),
                            GL_STREAM_DRAW);
    constexpr GLsizei stride = sizeof(LineVertex);
    pointAt(kPositionAttribute, 3, stride, offsetof(LineVertex, position));
    pointAt(kNormalAttribute, 3, stride, offsetof(LineVertex, normal));
    pointAt(kVertexColourAttribute, 4, stride, offsetof(LineVertex, colour));
    emscripten_glDrawArrays(GL_LINES, 0, vertices.size());
}

extern "C" {

// The end of a frame: SDL_GL_SwapBuffers does nothing in the browser, which shows the canvas
// when the frame's task returns, so the page calls this before it does.
void glFlush() {
    state();
    flushDraws();
}

void glClear(GLbitfield mask) {
    const State& s = state();
    flushDraws();
    makeObjects();
    const Colour& c = s.now.clearColour;
    emscripten_glClearColor(c[0], c[1], c[2], c[3]);
    emscripten_glClear(mask & (GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT));
}

// The frame is read from the buffer being drawn, the only one WebGL has.
void glReadBuffer(GLenum) {}

// WebGL reads RGBA bytes only; GL_RGB is read as RGBA and packed, each row padded to GL's
// initial pack alignment.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  void* pixels) {
    State& s = state();
    if (type != GL_UNSIGNED_BYTE || (format != GL_RGB && format != GL_RGBA)) {
        return recordError(s, GL_INVALID_ENUM);
    }
    if (width < 0 || height < 0) return recordError(s, GL_INVALID_VALUE);
    flushDraws();
    makeObjects();
    if (format == GL_RGBA) {
        emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    std::vector<unsigned char>& rgba = gpu.rgbaFrame;
    rgba.resize(size_t(width) * height * 4);
    emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const size_t rowBytes =
        (size_t(width) * 3 + kPackAlignment - 1) / kPackAlignment * kPackAlignment;
    auto* out = static_cast<unsigned char*>(pixels);
    for (GLsizei row = 0; row < height; ++row) {
        const unsigned char* from = &rgba[size_t(row) * width * 4];
        unsigned char* to = out + row * rowBytes;
        for (GLsizei column = 0; column < width; ++column) {
            std::memcpy(to + 3 * column, from + 4 * column, 3);
        }
    }
}

}  // extern "C"
