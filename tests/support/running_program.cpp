#include "support/running_program.h"

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

using Clock = std::chrono::steady_clock;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string temporaryFile() {
    char path[] = "/tmp/bramblewick-test-XXXXXX";
    close(mkstemp(path));
    return path;
}

Clock::time_point after(double seconds) {
    return Clock::now() + std::chrono::duration_cast<Clock::duration>(
                              std::chrono::duration<double>(seconds));
}

}  // namespace

int Screenshot::count(const std::function<bool(int, int, int)>& check) const {
    int n = 0;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) n += check(rgb[i], rgb[i + 1], rgb[i + 2]);
    return n;
}

RunningProgram::RunningProgram(const XvfbServer* server, std::vector<std::string> environment,
                               std::vector<std::string> arguments)
    : server_(server), outPath_(temporaryFile()), errPath_(temporaryFile()) {
    pid_ = fork();
    if (pid_ != 0) return;
    if (server_ != nullptr) setenv("DISPLAY", server_->display().c_str(), 1);
    else unsetenv("DISPLAY");
    for (const std::string& setting : environment) {
        const size_t equals = setting.find('=');
        const std::string name = setting.substr(0, equals), value = setting.substr(equals + 1);
        if (value.empty()) unsetenv(name.c_str());
        else setenv(name.c_str(), value.c_str(), 1);
    }
    dup2(open("/dev/null", O_RDONLY), STDIN_FILENO);
    dup2(open(outPath_.c_str(), O_WRONLY | O_TRUNC), STDOUT_FILENO);
    dup2(open(errPath_.c_str(), O_WRONLY | O_TRUNC), STDERR_FILENO);
    std::vector<char*> argv = {const_cast<char*>(BRAMBLEWICK_PROGRAM)};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(BRAMBLEWICK_PROGRAM, argv.data());
    _exit(127);
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
    std::string output;
    FILE* pipe = popen(("DISPLAY=" + server_->display() + " " + command + " 2>/dev/null").c_str(), "r");
    char buffer[65536];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
    return output;
}

// The window that first carries the title may be replaced while the video
// mode is set, so it is looked up again once frames are on the screen.
bool RunningProgram::waitForWindow() {
    auto find = [this] {
        std::istringstream found(x("xdotool search --name '^Bramblewick$'"));
        for (std::string id; found >> id;) window_ = id;
        return !window_.empty();
    };
    const auto deadline = after(30);
    while (!find() && Clock::now() < deadline) pause(0.1);
    return waitUntil([](const Screenshot& s) {
               return s.count([](int r, int g, int b) { return r + g + b > 0; }) > 0;
           }) && find();
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

bool RunningProgram::holdsThePointer() const {
    Display* display = XOpenDisplay(server_->display().c_str());
    const int grab = XGrabPointer(display, DefaultRootWindow(display), False, 0, GrabModeAsync,
                                  GrabModeAsync, None, None, CurrentTime);
    XCloseDisplay(display);  // and with it any grab it got
    return grab == AlreadyGrabbed;
}

void RunningProgram::closeWindow() {
    Display* display = XOpenDisplay(server_->display().c_str());
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = std::stoul(window_);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

Screenshot RunningProgram::screenshot() const {
    std::istringstream in(x("import -window root -depth 8 ppm:-"));
    Screenshot shot;
    std::string magic;
    int maxValue = 0;
    in >> magic >> shot.width >> shot.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255) return {};
    shot.rgb.resize(static_cast<size_t>(shot.width) * shot.height * 3);
    in.read(reinterpret_cast<char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
    return shot;
}

bool RunningProgram::waitUntil(const std::function<bool(const Screenshot&)>& check, double seconds) {
    for (const auto deadline = after(seconds); Clock::now() < deadline; pause(0.1)) {
        if (check(screenshot())) return true;
    }
    return false;
}

Ending RunningProgram::wait(double seconds) {
    Ending ending;
    int status = 0;
    for (const auto deadline = after(seconds); Clock::now() < deadline; pause(0.02)) {
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            ending.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            pid_ = -1;
            break;
        }
    }
    ending.out = slurp(outPath_);
    ending.err = slurp(errPath_);
    return ending;
}

void pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
