#include "running_program.h"

#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    pclose(pipe);
    return output;
}

std::string temporaryFile(const char* stem) {
    std::string path = std::string("/tmp/") + stem + "-XXXXXX";
    const int fd = mkstemp(path.data());
    close(fd);
    return path;
}

}  // namespace

Pixel Screenshot::at(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

int Screenshot::count(const Colour& colour) const {
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) n += shows(at(x, y), colour);
    }
    return n;
}

int Screenshot::countWhite() const {
    int n = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel p = at(x, y);
            n += p.r >= 250 && p.g >= 250 && p.b >= 250;
        }
    }
    return n;
}

RunningProgram::RunningProgram(bool withDisplay, std::vector<std::string> environment)
    : outPath_(temporaryFile("bramblewick-out")), errPath_(temporaryFile("bramblewick-err")) {
    if (withDisplay) server_ = std::make_unique<XvfbServer>();
    pid_ = fork();
    if (pid_ == 0) {
        if (server_) {
            setenv("DISPLAY", server_->display().c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
        for (const std::string& setting : environment) {
            const size_t equals = setting.find('=');
            const std::string name = setting.substr(0, equals);
            const std::string value = setting.substr(equals + 1);
            if (value.empty()) {
                unsetenv(name.c_str());
            } else {
                setenv(name.c_str(), value.c_str(), 1);
            }
        }
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(outPath_.c_str(), O_WRONLY | O_TRUNC);
        const int err = open(errPath_.c_str(), O_WRONLY | O_TRUNC);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execl(BRAMBLEWICK_PROGRAM, BRAMBLEWICK_PROGRAM, static_cast<char*>(nullptr));
        _exit(127);
    }
}

RunningProgram::~RunningProgram() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    unlink(outPath_.c_str());
    unlink(errPath_.c_str());
}

std::string RunningProgram::x(const std::string& command) const {
    return run("DISPLAY=" + server_->display() + " " + command + " 2>/dev/null");
}

// The window that first carries the title may be replaced while the video
// mode is set, so it is looked up again once the frames are coming.
bool RunningProgram::waitForWindow() {
    auto find = [this] {
        std::istringstream found(x("xdotool search --name '^Bramblewick$'"));
        std::string last, id;
        while (found >> id) last = id;
        return last;
    };
    for (int i = 0; i < 200 && find().empty(); ++i) pause(0.05);
    pause(1.0);
    window_ = find();
    return !window_.empty();
}

void RunningProgram::keys(const std::string& names) {
    x("xdotool key --delay 60 " + names);
}

void RunningProgram::click(int button) {
    x("xdotool click " + std::to_string(button));
}

std::string RunningProgram::windowName() const {
    std::string name = x("xdotool getwindowname " + window_);
    while (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

void RunningProgram::closeWindow() {
    Display* display = XOpenDisplay(server_->display().c_str());
    if (display == nullptr) return;
    const Window window = std::stoul(window_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    XCloseDisplay(display);
}

Screenshot RunningProgram::screenshot() const {
    const std::string ppm = x("import -window root -depth 8 ppm:-");
    Screenshot shot;
    std::istringstream in(ppm);
    std::string magic;
    int maxValue = 0;
    in >> magic >> shot.width >> shot.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return {};
    shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
    in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
    return shot;
}

Ending RunningProgram::wait(double seconds) {
    Ending ending;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid_, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        pause(0.02);
    }
    if (done == pid_) {
        ending.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
    }
    ending.out = slurp(outPath_);
    ending.err = slurp(errPath_);
    return ending;
}

void pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
