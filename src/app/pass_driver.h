// Who calls the main loop's passes. Each platform has its own driver, and
// the build picks one: it calls sandbox.runPass() until sandbox.running is
// cleared, and then the program ends with sandbox.exitCode.
#pragma once

class Sandbox;

void drivePasses(Sandbox& sandbox);
