// The scene's one light, GL_LIGHT0: directional, shining straight down. It is
// given under the view transform, so it stays fixed in the world. Mirror
// images below the ground are lit by the same light turned upside down.
#pragma once

#include <GL/gl.h>

constexpr GLfloat kLightFromAbove[] = {0.0f, 0.0f, 50.0f, 0.0f};
constexpr GLfloat kLightFromBelow[] = {0.0f, 0.0f, -50.0f, 0.0f};
