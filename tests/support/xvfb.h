// A private X server for tests that need a real window, so that they never
// touch the developer's own desktop and run the same on a machine without one.
#pragma once

#include <sys/types.h>

#include <string>

class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    const std::string& display() const { return display_; }
    void stop();

private:
    pid_t pid_ = -1;
    std::string display_;
};

// One server for the whole test process, started on first call and named by
// DISPLAY. It stops at exit, after the clean-up that the windows of the
// process registered later, so nothing loses its display while still using it.
void useProcessServer();
