// OpenGL 1.x state for the browser build: capabilities, colour, the one light and the material,
// the attribute stack, lines between glBegin and glEnd, errors and the state queries. Each
// function has the prototype of <GL/gl.h>; this definition is linked instead of Emscripten's own.
#include "fixed_function.h"

#include <emscripten/html5.h>

#include <algorithm>

namespace {

constexpr GLfloat kMaxShininess = 128;  // GL's range of the specular exponent is [0, 128]

// 0 for a capability the browser build does not have, which glEnable refuses as GL_INVALID_ENUM.
GLbitfield switchFor(GLenum capability) {
    switch (capability) {
        case GL_DEPTH_TEST:
            return kDepthTest;
        case GL_LIGHTING:
            return kLighting;
        case GL_LIGHT0:
            return kLight0;
        case GL_COLOR_MATERIAL:
            return kColourMaterial;
        case GL_NORMALIZE:
            return kNormalize;
        default:
            return 0;
    }
}

// Material that follows the colour keeps the last colour when it stops following; GL also copies
// the colour at once when it starts.
void setSwitch(GLenum capability, bool on) {
    State& s = state();
    const GLbitfield bit = switchFor(capability);
    if (!bit) return recordError(s, GL_INVALID_ENUM);
    Attributes& a = s.now;
    if (bit == kColourMaterial && bool(a.switches & bit) != on) {
        a.material.ambient = a.material.diffuse = a.colour;
    }
    a.switches = on ? a.switches | bit : a.switches & ~bit;
}

// What each bit of glPushAttrib saves: some of the switches, and other attributes.
struct AttributeGroup {
    GLbitfield bit;
    GLbitfield switches;
    void (*restore)(Attributes& to, const Attributes& from);
};

const AttributeGroup kAttributeGroups[] = {
    {GL_CURRENT_BIT, 0,
     [](Attributes& to, const Attributes& from) {
         to.colour = from.colour;
         to.normal = from.normal;
     }},
    {GL_ENABLE_BIT, kDepthTest | kLighting | kLight0 | kColourMaterial | kNormalize, nullptr},
    {GL_LIGHTING_BIT, kLighting | kLight0 | kColourMaterial,
     [](Attributes& to, const Attributes& from) {
         to.light = from.light;
         to.lightPosition = from.lightPosition;
         to.material = from.material;
         to.sceneAmbient = from.sceneAmbient;
     }},
    {GL_DEPTH_BUFFER_BIT, kDepthTest, nullptr},
    {GL_TRANSFORM_BIT, kNormalize,
     [](Attributes& to, const Attributes& from) { to.matrixMode = from.matrixMode; }},
    {GL_VIEWPORT_BIT, 0,
     [](Attributes& to, const Attributes& from) { to.viewport = from.viewport; }},
    {GL_COLOR_BUFFER_BIT, 0,
     [](Attributes& to, const Attributes& from) { to.clearColour = from.clearColour; }},
};

Colour* lightParameter(Attributes& a, GLenum light, GLenum name) {
    if (light != GL_LIGHT0) return nullptr;  // the only light there is
    switch (name) {
        case GL_AMBIENT:
            return &a.light.ambient;
        case GL_DIFFUSE:
            return &a.light.diffuse;
        case GL_SPECULAR:
            return &a.light.specular;
        case GL_POSITION:
            return &a.lightPosition;
        default:
            return nullptr;
    }
}

// A state value as floats, and how many there are; 0 for a name not kept here.
int query(State& s, GLenum name, GLfloat* out) {
    auto put = [out](auto values) {
        std::copy(values.begin(), values.end(), out);
        return int(values.size());
    };
    auto one = [out](GLfloat value) {
        *out = value;
        return 1;
    };
    const Attributes& a = s.now;
    switch (name) {
        case GL_MODELVIEW_MATRIX:
            return put(s.modelview.levels.back());
        case GL_PROJECTION_MATRIX:
            return put(s.projection.levels.back());
        case GL_CURRENT_COLOR:
            return put(a.colour);
        case GL_CURRENT_NORMAL:
            return put(a.normal);
        case GL_ATTRIB_STACK_DEPTH:
            return one(s.savedAttributes.size());
        case GL_MODELVIEW_STACK_DEPTH:
            return one(s.modelview.levels.size());
        case GL_PROJECTION_STACK_DEPTH:
            return one(s.projection.levels.size());
        case GL_MAX_ATTRIB_STACK_DEPTH:
            return one(kAttributeStackLimit);
        case GL_MAX_MODELVIEW_STACK_DEPTH:
            return one(s.modelview.limit);
        case GL_MAX_PROJECTION_STACK_DEPTH:
            return one(s.projection.limit);
        case GL_MATRIX_MODE:
            return one(a.matrixMode);
        case GL_VIEWPORT:
            return put(a.viewport);
        case GL_COLOR_CLEAR_VALUE:
            return put(a.clearColour);
        default:
            return 0;
    }
}

}  // namespace

// Each window has a context of its own, told apart by its handle. GL's first viewport covers the
// window.
State& state() {
    static State current;
    static EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE now = emscripten_webgl_get_current_context();
    if (now != context) {
        context = now;
        current = State();
        int width = 0, height = 0;
        if (now) emscripten_webgl_get_drawing_buffer_size(now, &width, &height);
        current.now.viewport = {0, 0, width, height};
        forgetGpuObjects();
    }
    return current;
}

void recordError(State& s, GLenum error) {
    if (s.error == GL_NO_ERROR) s.error = error;
}

BatchState batchStateOf(const State& s) {
    const Attributes& a = s.now;
    return {
        s.projection.levels.back(), a.viewport, a.switches, a.sceneAmbient, a.light, a.material};
}

Instance instanceOf(const State& s) {
    return {s.modelview.levels.back(), s.now.colour, s.now.lightPosition};
}

extern "C" {

GLenum glGetError() {
    State& s = state();
    const GLenum error = s.error;
    s.error = GL_NO_ERROR;
    return error;
}

void glEnable(GLenum capability) {
    setSwitch(capability, true);
}

void glDisable(GLenum capability) {
    setSwitch(capability, false);
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    state().now.colour = {red, green, blue, 1};
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    State& s = state();
    if (width < 0 || height < 0) return recordError(s, GL_INVALID_VALUE);
    s.now.viewport = {x, y, width, height};
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    auto clamp = [](GLfloat v) { return std::clamp(v, 0.0f, 1.0f); };
    state().now.clearColour = {clamp(red), clamp(green), clamp(blue), clamp(alpha)};
}

// WebGL 1 has no flat interpolation: every model is drawn smooth, the one the sandbox asks for.
void glShadeModel(GLenum mode) {
    if (mode != GL_SMOOTH && mode != GL_FLAT) recordError(state(), GL_INVALID_ENUM);
}

// A position is kept in eye coordinates, through the modelview matrix of the moment.
void glLightfv(GLenum light, GLenum name, const GLfloat* params) {
    State& s = state();
    Colour* parameter = lightParameter(s.now, light, name);
    if (!parameter) return recordError(s, GL_INVALID_ENUM);
    if (name != GL_POSITION) {
        std::copy(params, params + 4, parameter->begin());
        return;
    }
    const Matrix& m = s.modelview.levels.back();
    for (int row = 0; row < 4; ++row) {
        (*parameter)[row] = m[row] * params[0] + m[row + 4] * params[1] + m[row + 8] * params[2] +
                            m[row + 12] * params[3];
    }
}

void glGetLightfv(GLenum light, GLenum name, GLfloat* params) {
    State& s = state();
    const Colour* parameter = lightParameter(s.now, light, name);
    if (!parameter) return recordError(s, GL_INVALID_ENUM);
    std::copy(parameter->begin(), parameter->end(), params);
}

// Lighting is one-sided, so only the front material shows; GL_BACK alone changes nothing seen.
// While the material follows the colour, GL ignores new values for what follows it.
void glMaterialfv(GLenum face, GLenum name, const GLfloat* params) {
    State& s = state();
    if (face != GL_FRONT && face != GL_BACK && face != GL_FRONT_AND_BACK) {
        return recordError(s, GL_INVALID_ENUM);
    }
    Material& m = s.now.material;
    const Colour value = {params[0], params[1], params[2], params[3]};
    const bool followsColour = s.now.switches & kColourMaterial;
    const bool front = face != GL_BACK;
    switch (name) {
        case GL_AMBIENT:
            if (front && !followsColour) m.ambient = value;
            break;
        case GL_DIFFUSE:
            if (front && !followsColour) m.diffuse = value;
            break;
        case GL_AMBIENT_AND_DIFFUSE:
            if (front && !followsColour) m.ambient = m.diffuse = value;
            break;
        case GL_SPECULAR:
            if (front) m.specular = value;
            break;
        case GL_EMISSION:
            if (front) m.emission = value;
            break;
        case GL_SHININESS:
            if (params[0] < 0 || params[0] > kMaxShininess) return recordError(s, GL_INVALID_VALUE);
            if (front) m.shininess = params[0];
            break;
        default:
            recordError(s, GL_INVALID_ENUM);
    }
}

void glMaterialf(GLenum face, GLenum name, GLfloat param) {
    if (name != GL_SHININESS) return recordError(state(), GL_INVALID_ENUM);
    const GLfloat params[4] = {param, 0, 0, 0};
    glMaterialfv(face, name, params);
}

void glPushAttrib(GLbitfield mask) {
    State& s = state();
    if (s.savedAttributes.size() >= kAttributeStackLimit) {
        return recordError(s, GL_STACK_OVERFLOW);
    }
    s.savedAttributes.emplace_back(mask, s.now);
}

void glPopAttrib() {
    State& s = state();
    if (s.savedAttributes.empty()) return recordError(s, GL_STACK_UNDERFLOW);
    const auto& [mask, saved] = s.savedAttributes.back();
    for (const AttributeGroup& group : kAttributeGroups) {
        if (!(mask & group.bit)) continue;
        s.now.switches = (s.now.switches & ~group.switches) | (saved.switches & group.switches);
        if (group.restore) group.restore(s.now, saved);
    }
    s.savedAttributes.pop_back();
}

void glGetFloatv(GLenum name, GLfloat* params) {
    State& s = state();
    if (!query(s, name, params)) recordError(s, GL_INVALID_ENUM);
}

void glGetDoublev(GLenum name, GLdouble* params) {
    State& s = state();
    GLfloat values[16];
    const int count = query(s, name, values);
    if (!count) return recordError(s, GL_INVALID_ENUM);
    std::copy(values, values + count, params);
}

// Only lines are drawn between glBegin and glEnd here; each vertex takes the colour and normal
// of its moment, the whole batch the matrices and light of glEnd.
void glBegin(GLenum mode) {
    State& s = state();
    if (s.betweenBeginAndEnd) return recordError(s, GL_INVALID_OPERATION);
    if (mode != GL_LINES) return recordError(s, GL_INVALID_ENUM);
    s.betweenBeginAndEnd = true;
    s.lines.clear();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    State& s = state();
    if (s.betweenBeginAndEnd) s.lines.push_back({{x, y, z}, s.now.normal, s.now.colour});
}

void glEnd() {
    State& s = state();
    if (!s.betweenBeginAndEnd) return recordError(s, GL_INVALID_OPERATION);
    s.betweenBeginAndEnd = false;
    s.lines.resize(s.lines.size() & ~size_t(1));  // a last vertex without a partner draws nothing
    drawLines(s, s.lines);
}

}  // extern "C"
