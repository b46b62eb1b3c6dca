#include "app/pass_driver.h"
#include "sandbox.h"

// A desktop program owns its thread: the passes run back to back, as fast as
// drawing lets them, and run returns to main after the pass of the quit.
void drivePasses(Sandbox& sandbox) {
    while (sandbox.running) sandbox.runPass();
}
