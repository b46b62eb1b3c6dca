#include "sandbox.h"

int main(int argc, char** argv) {
    Sandbox* sandbox = new Sandbox(argc, argv);
    sandbox->init();
    sandbox->run();
    return sandbox->exitCode;
}
