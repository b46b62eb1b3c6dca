#include "sandbox.h"
#include "app/pass_driver.h"

// Passes run until a quit. Who calls them is the platform's affair: a
// desktop runs them back to back, a browser page once per animation frame.
void Sandbox::run() {
    drivePasses(*this);
}

// Drains the events, then steps the world by the real time since the
// previous pass and draws one frame. running is looked at only between
// passes, so a quit still lets its own pass finish.
void Sandbox::runPass() {
    handleEvents();
    updateClock();
    stepPhysics();
    update();
    render();
}

// Polls until the queue is empty, so an event pushed while draining (the
// reset request) is handled in the same pass.
void Sandbox::handleEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) dispatchEvent(event);
}

void Sandbox::dispatchEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            onKey(event.key);
            break;
        case SDL_MOUSEMOTION:
            onMouseMotion(event.motion);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            onMouseButton(event.button);
            break;
        case SDL_QUIT:
            quit(0);
            break;
        case SDL_USEREVENT:
            onUserEvent(event.user);
            break;
        default:  // focus, joystick, window-manager, resize and expose events
            break;
    }
}

void Sandbox::quit(int code) {
    running = false;
    exitCode = code;
}

// Unsigned 32-bit subtraction gives the true difference across a wrap of
// the tick counter (every 49.7 days).
void Sandbox::updateClock() {
    const Uint32 now = SDL_GetTicks();
    const Uint32 elapsed = now - lastTicks;
    frameSeconds = static_cast<double>(elapsed) / 1000.0;
    lastTicks = now;
}

void Sandbox::update() {}
