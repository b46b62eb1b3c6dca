// Emscripten ships GLUT's standard header but not freeglut's own, which the program includes for
// freeglut's one extension it calls. The browser build puts this folder first on its include path.
#pragma once

#include <GL/freeglut_std.h>

#include <stdarg.h>

#ifdef __cplusplus
extern "C" {
#endif

// As freeglut 3 declares it: GLUT's warnings go to the callback instead of standard error.
void glutInitWarningFunc(void (*callback)(const char* format, va_list arguments));

#ifdef __cplusplus
}
#endif
