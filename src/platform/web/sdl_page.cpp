// SDL calls that Emscripten's SDL leaves out or answers short of SDL 1.2.
#include <GL/gl.h>
#include <SDL.h>
#include <emscripten.h>

#include <cstdlib>

// The display: Emscripten's leaves the pixel format unset, and the window's
// colour depth is read from it. A canvas holds 8 bits of red, green, blue
// and alpha.
extern "C" const SDL_VideoInfo* SDL_GetVideoInfo() {
    static SDL_PixelFormat format = [] {
        SDL_PixelFormat f{};
        f.BitsPerPixel = 32;
        f.BytesPerPixel = 4;
        return f;
    }();
    static SDL_VideoInfo info{};
    info.vfmt = &format;
    info.current_w = EM_ASM_INT({ return Module['canvas'].width; });
    info.current_h = EM_ASM_INT({ return Module['canvas'].height; });
    return &info;
}

// SDL 1.2's is the C library's, which keeps the very string it is given.
extern "C" int SDL_putenv(const char* variable) {
    return putenv(const_cast<char*>(variable));
}

// Emscripten's SDL queues the address of a copy of a pushed event, and copies
// only as many bytes as a key event has, in and out: a mouse motion would
// lose its relative moves. Here the whole record goes in, and comes out whole.
extern "C" void queueWholeEvent(void* copy, int bytes);  // sdl_page.js

extern "C" int SDL_PushEvent(SDL_Event* event) {
    void* copy = std::malloc(sizeof(SDL_Event));
    *static_cast<SDL_Event*>(copy) = *event;
    queueWholeEvent(copy, sizeof(SDL_Event));
    return 0;
}

// The browser shows the canvas when the frame's script returns; what the
// drawing layer still holds back must be drawn by then.
extern "C" void SDL_GL_SwapBuffers() {
    glFlush();
}
