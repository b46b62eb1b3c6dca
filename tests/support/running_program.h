// The real program, started on a private X server and driven from outside
// the way a user drives it: keys and clicks through the X server, the whole
// screen read back as a user sees it.
#pragma once

#include "support/xvfb.h"

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // How many pixels pass the check, given their red, green and blue.
    int count(const std::function<bool(int r, int g, int b)>& check) const;
};

struct Ending {
    int status = -1;  // exit status, or -1 when it did not end in time
    std::string out;
    std::string err;
};

class RunningProgram {
public:
    // On the server, or with no display at all when there is none. Each
    // NAME=value is added to the program's environment; NAME= takes it away.
    explicit RunningProgram(const XvfbServer* server, std::vector<std::string> environment = {},
                            std::vector<std::string> arguments = {});
    ~RunningProgram();

    // Waits until the program's window is up and drawing.
    bool waitForWindow();
    void keys(const std::string& names);
    void click(int button);
    // Asks the window to close, as a window manager's close button does.
    void closeWindow();
    std::string windowName() const;
    // Whether another client can take the pointer, or the program holds it.
    bool holdsThePointer() const;
    Screenshot screenshot() const;
    // Takes screenshots until one passes the check, for at most `seconds`.
    bool waitUntil(const std::function<bool(const Screenshot&)>& check, double seconds = 30);
    // Waits for the program to end by itself, for at most `seconds`.
    Ending wait(double seconds);

private:
    std::string x(const std::string& command) const;

    const XvfbServer* server_;
    pid_t pid_ = -1;
    std::string outPath_;
    std::string errPath_;
    std::string window_;
};

void pause(double seconds);
