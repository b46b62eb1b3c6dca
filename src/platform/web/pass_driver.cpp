#include "app/pass_driver.h"
#include "sandbox.h"

#include <emscripten.h>

#include <cstdlib>

namespace {

// The browser repaints once its script returns, so each animation frame runs
// one pass and hands the frame back.
void runOnePass(void* data) {
    Sandbox& sandbox = *static_cast<Sandbox*>(data);
    sandbox.runPass();
    if (sandbox.running) return;
    emscripten_cancel_main_loop();
    std::exit(sandbox.exitCode);  // the page learns the status and says the program has ended
}

}  // namespace

// A page may not hold its thread: the browser calls the passes, one per
// animation frame, and run never returns to main, whose stack is let go; the
// program's end comes from the last pass instead.
void drivePasses(Sandbox& sandbox) {
    emscripten_set_main_loop_arg(runOnePass, &sandbox, 0, true);
}
