// The shader pair that stands in for the fixed-function pipeline: GL's lighting equation per vertex
// and the colour interpolated across each triangle (Gouraud), as Mesa computes them. One light,
// one-sided, viewer at infinity; the sum is clamped to [0, 1] before it is interpolated.
#include "fixed_function.h"

#include <webgl/webgl1.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// Each instance takes kVectorsPerInstance vectors of the uniform array: its modelview's columns,
// its colour and its light's position. Normals go through the inverse transpose of the
// modelview's upper 3 × 3, whose columns are the cross products of its columns over the
// determinant. Mesa adds the terms in this order: emission and the scene's ambient, the light's
// ambient, its diffuse, its specular; the specular needs the light in front of the surface.
const char* const kVertexShader = R"(
attribute vec3 position;
attribute vec3 normal;
attribute float slot;
attribute vec4 vertexColour;

uniform vec4 instances[SLOTS * VECTORS_PER_INSTANCE];
uniform bool coloursPerVertex;
uniform mat4 projection;
uniform bool lighting, light0, colourMaterial, normalizeNormals;
uniform vec4 sceneAmbient, lightAmbient, lightDiffuse, lightSpecular;
uniform vec4 materialAmbient, materialDiffuse, materialSpecular, materialEmission;
uniform float shininess;

varying vec4 shade;

// x to the power of the shininess: its whole part by repeated squaring, for pow costs the
// browser's software renderer more than the rest of the vertex; pow only for a fraction.
float highlightOf(float x) {
    float whole = floor(shininess);
    float result = shininess > whole ? pow(x, shininess - whole) : 1.0;
    for (int bit = 0; bit < 8; ++bit) {  // 8 bits hold GL's largest shininess, 128
        if (mod(whole, 2.0) == 1.0) result *= x;
        x *= x;
        whole = floor(whole / 2.0);
    }
    return result;
}

void main() {
    int first = int(slot + 0.5) * VECTORS_PER_INSTANCE;
    mat4 modelview = mat4(instances[first], instances[first + 1], instances[first + 2],
                          instances[first + 3]);
    vec4 colour = coloursPerVertex ? vertexColour : instances[first + 4];
    vec4 lightPosition = instances[first + 5];
    vec4 eye = modelview * vec4(position, 1.0);
    gl_Position = projection * eye;
    if (!lighting) {
        shade = clamp(colour, 0.0, 1.0);
        return;
    }
    vec4 ambient = colourMaterial ? colour : materialAmbient;
    vec4 diffuse = colourMaterial ? colour : materialDiffuse;
    vec3 sum = materialEmission.rgb + sceneAmbient.rgb * ambient.rgb;
    if (light0) {
        vec3 c0 = modelview[0].xyz, c1 = modelview[1].xyz, c2 = modelview[2].xyz;
        mat3 normalMatrix = mat3(cross(c1, c2), cross(c2, c0), cross(c0, c1));
        float determinant = dot(c0, normalMatrix[0]);
        vec3 n = normalMatrix * normal;
        if (determinant != 0.0) n /= determinant;
        if (normalizeNormals) n = normalize(n);
        vec3 toLight = lightPosition.w == 0.0 ? lightPosition.xyz : lightPosition.xyz - eye.xyz;
        vec3 l = normalize(toLight);
        float facing = dot(n, l);
        sum += lightAmbient.rgb * ambient.rgb;
        sum += max(facing, 0.0) * (lightDiffuse.rgb * diffuse.rgb);
        if (facing > 0.0) {
            vec3 halfway = normalize(l + vec3(0.0, 0.0, 1.0));
            float highlight = highlightOf(max(dot(n, halfway), 0.0));
            sum += highlight * (lightSpecular.rgb * materialSpecular.rgb);
        }
    }
    shade = clamp(vec4(sum, diffuse.a), 0.0, 1.0);
}
)";

const char* const kFragmentShader = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec4 shade;

void main() {
    gl_FragColor = shade;
}
)";

// In the order of ShaderAttribute.
const char* const kAttributeNames[kAttributeCount] = {"position", "normal", "slot", "vertexColour"};

// The uniform vectors left for everything but the instances: the projection, the batch's switches,
// colours and shininess, and what the browser's shader translator adds of its own.
constexpr int kOtherUniformVectors = 64;
constexpr int kMostSlots = 512;  // more would save few draws and lengthen every upload

GLuint compile(GLenum type, const std::string& source) {
    const GLuint shader = emscripten_glCreateShader(type);
    const char* text = source.c_str();
    emscripten_glShaderSource(shader, 1, &text, nullptr);
    emscripten_glCompileShader(shader);
    GLint compiled = GL_FALSE;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[1024] = "";
        emscripten_glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::fprintf(stderr, "the lighting shader does not compile: %s\n", log);
    }
    return shader;
}

void setColour(GLint location, const Colour& c) {
    emscripten_glUniform4fv(location, 1, c.data());
}

// The program for the given number of slots, or 0 if it does not link.
GLuint linkProgram(int slots) {
    const std::string sizes = "#define SLOTS " + std::to_string(slots) +
                              "\n#define VECTORS_PER_INSTANCE " +
                              std::to_string(kVectorsPerInstance) + "\n";
    const GLuint program = emscripten_glCreateProgram();
    const GLuint shaders[] = {compile(GL_VERTEX_SHADER, sizes + kVertexShader),
                              compile(GL_FRAGMENT_SHADER, kFragmentShader)};
    for (GLuint shader : shaders) {
        emscripten_glAttachShader(program, shader);
        emscripten_glDeleteShader(shader);  // it goes with the program
    }
    for (GLuint a = 0; a < kAttributeCount; ++a) {
        emscripten_glBindAttribLocation(program, a, kAttributeNames[a]);
    }
    emscripten_glLinkProgram(program);
    GLint linked = GL_FALSE;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) return program;
    emscripten_glDeleteProgram(program);
    return 0;
}

}  // namespace

// As many slots as the uniform vectors allow; a browser that counts them otherwise gets half as
// many, until the program links.
LightingShader buildLightingShader() {
    LightingShader s{};
    GLint vectors = 0;
    emscripten_glGetIntegerv(GL_MAX_VERTEX_UNIFORM_VECTORS, &vectors);
    s.slots = std::clamp((vectors - kOtherUniformVectors) / kVectorsPerInstance, 1, kMostSlots);
    while (!(s.program = linkProgram(s.slots)) && s.slots > 1) s.slots /= 2;
    if (!s.program) std::fprintf(stderr, "the lighting shader does not link\n");
    auto uniform = [&s](const char* name) {
        return emscripten_glGetUniformLocation(s.program, name);
    };
    s.instances = uniform("instances");
    s.coloursPerVertex = uniform("coloursPerVertex");
    s.projection = uniform("projection");
    s.lighting = uniform("lighting");
    s.light0 = uniform("light0");
    s.colourMaterial = uniform("colourMaterial");
    s.normalize = uniform("normalizeNormals");
    s.sceneAmbient = uniform("sceneAmbient");
    s.lightAmbient = uniform("lightAmbient");
    s.lightDiffuse = uniform("lightDiffuse");
    s.lightSpecular = uniform("lightSpecular");
    s.materialAmbient = uniform("materialAmbient");
    s.materialDiffuse = uniform("materialDiffuse");
    s.materialSpecular = uniform("materialSpecular");
    s.materialEmission = uniform("materialEmission");
    s.shininess = uniform("shininess");
    return s;
}

void setBatchUniforms(const LightingShader& s, const BatchState& b) {
    emscripten_glUniformMatrix4fv(s.projection, 1, GL_FALSE, b.projection.data());
    emscripten_glUniform1i(s.lighting, (b.switches & kLighting) != 0);
    emscripten_glUniform1i(s.light0, (b.switches & kLight0) != 0);
    emscripten_glUniform1i(s.colourMaterial, (b.switches & kColourMaterial) != 0);
    emscripten_glUniform1i(s.normalize, (b.switches & kNormalize) != 0);
    setColour(s.sceneAmbient, b.sceneAmbient);
    setColour(s.lightAmbient, b.light.ambient);
    setColour(s.lightDiffuse, b.light.diffuse);
    setColour(s.lightSpecular, b.light.specular);
    setColour(s.materialAmbient, b.material.ambient);
    setColour(s.materialDiffuse, b.material.diffuse);
    setColour(s.materialSpecular, b.material.specular);
    setColour(s.materialEmission, b.material.emission);
    emscripten_glUniform1f(s.shininess, b.material.shininess);
}
