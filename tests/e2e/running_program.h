// The real program, started on a private X server and driven from outside
// the way a user would: keys and clicks through the X server, screenshots
// of the whole screen.
#pragma once

#include "support/colour.h"
#include "support/xvfb.h"

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    Pixel at(int x, int y) const;
    // How many pixels show the colour.
    int count(const Colour& colour) const;
    // Pure white: the lit spring lines, which a coloured object's highlight
    // never quite reaches.
    int countWhite() const;
};

struct Ending {
    int status = -1;  // exit status, or -1 when it did not end by itself
    std::string out;
    std::string err;
};

class RunningProgram {
public:
    // With no display the program starts without one. Each NAME=value of
    // the environment is set for it, and each NAME= is taken away.
    explicit RunningProgram(bool withDisplay = true, std::vector<std::string> environment = {});
    ~RunningProgram();

    // Waits until the window exists and its first frames are on screen.
    bool waitForWindow();
    void keys(const std::string& names);
    void click(int button);
    // Asks the window to close, as a window manager's close button does.
    void closeWindow();
    Screenshot screenshot() const;
    std::string windowName() const;
    // Waits for the program to end by itself; kills it after the timeout.
    Ending wait(double seconds);

private:
    std::string x(const std::string& command) const;

    std::unique_ptr<XvfbServer> server_;
    pid_t pid_ = -1;
    std::string outPath_;
    std::string errPath_;
    std::string window_;
};

void pause(double seconds);
