#include "sandbox.h"

#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef BRAMBLEWICK_X11
#include <X11/Xlib.h>
#endif

namespace {

constexpr int kAudioFrequency = 44100;
constexpr int kAudioChannels = 2;
constexpr int kAudioChunkSize = 4096;

constexpr const char* kControls =
    "Keyboard Controls:\n"
    " 1  -  drop a full box of spheres\n"
    " 2  -  drop an empty box\n"
    " 3  -  drop a cylinder\n"
    " 4  -  drop a cloth\n"
    " 5  -  create a static sphere\n"
    " 6  -  drop a full box of boxes\n"
    " 0  -  drop a bean\n"
    " s  -  show(on/off) reflections\n"
    " j  -  show(on/off) joints\n"
    " r  -  reset\n"
    " q  -  squeeze (for the tool)\n"
    " e  -  pull apart (for the tool)\n"
    "\n"
    "Mouse Controls: (for the tool)\n"
    " Left Click       -  fire a ball\n"
    " Rigth Click      -  fire a cylinder\n"
    " Scroll Up        -  ascend\n"
    " Scroll Down      -  descend\n"
    " Moving the Mouse -  move the tool\n";

void failVideo() {
    std::fprintf(stderr, "Couldn't set video mode!\n");
    std::fflush(stderr);
    std::fprintf(stderr, "%s\n", SDL_GetError());
    std::fflush(stderr);
    std::exit(1);
}

#ifdef BRAMBLEWICK_X11
constexpr int kGrabTries = 30;           // a drag or a held button lets go within this many
constexpr Uint32 kGrabRetryTicks = 100;  // milliseconds apart

// A full-screen window takes the pointer, and one SDL 1.2 runtime waits for
// it for ever, deaf even to Ctrl-C, while another program holds it: asked
// first, the X server says whether the screen can be had.
bool pointerHeldElsewhere() {
    char driver[16];
    if (SDL_VideoDriverName(driver, sizeof driver) == nullptr || std::strcmp(driver, "x11") != 0) {
        return false;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return false;
    int grab = GrabSuccess;
    for (int tries = 0; tries < kGrabTries; ++tries) {
        if (tries > 0) SDL_Delay(kGrabRetryTicks);
        grab = XGrabPointer(display, DefaultRootWindow(display), False, 0, GrabModeAsync,
                            GrabModeAsync, None, None, CurrentTime);
        if (grab != AlreadyGrabbed && grab != GrabFrozen) break;
    }
    XCloseDisplay(display);  // and with it the grab, had it been given
    return grab == AlreadyGrabbed || grab == GrabFrozen;
}
#endif

}  // namespace

void Sandbox::init() {
    printControls();
    initVideo();
    initGraphics();
    initAudio();
    initPhysics();
}

void Sandbox::printControls() {
    std::fputs(kControls, stdout);
}

void Sandbox::initVideo() {
#ifdef BRAMBLEWICK_X11
    // Only the X11 driver opens OpenGL windows here. Without a display SDL
    // would fall back to its text-mode drivers, which cannot, and one of
    // which ends the process by itself when there is no terminal either.
    // A driver the user names still wins.
    setenv("SDL_VIDEODRIVER", "x11", 0);
#endif
    // Video on its own, audio later in initAudio: one SDL 1.2 runtime fails
    // a joint start of the two as a whole when the audio cannot start, and a
    // missing sound device must never keep the window from opening, nor
    // replace the reason why it could not.
    SDL_Init(SDL_INIT_VIDEO);
    std::atexit(SDL_Quit);
    SDL_WM_SetCaption("Bramblewick", nullptr);
    // Without a display the video driver does not start, and SDL's OpenGL
    // and display queries would then crash instead of failing: the window
    // cannot be opened, and that is what the user is told.
    if (!SDL_WasInit(SDL_INIT_VIDEO)) failVideo();

    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

#ifdef BRAMBLEWICK_X11
    if (pointerHeldElsewhere()) {
        SDL_SetError("Another program holds the pointer, so the screen cannot be taken");
        failVideo();
    }
#endif
    const int bitsPerPixel = SDL_GetVideoInfo()->vfmt->BitsPerPixel;
    Uint32 flags = SDL_OPENGL;
    if (fullscreen) flags |= SDL_FULLSCREEN;
    if (SDL_SetVideoMode(screenWidth, screenHeight, bitsPerPixel, flags) == nullptr) {
        failVideo();
    }

    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_GrabInput(SDL_GRAB_ON);
}

// The sandbox plays no sound; the device is opened and left alone, and a
// machine without one runs silent.
void Sandbox::initAudio() {
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    Mix_OpenAudio(kAudioFrequency, AUDIO_S16LSB, kAudioChannels, kAudioChunkSize);
}
