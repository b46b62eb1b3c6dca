#include "support/fixtures.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

bool within(double seconds, const std::function<bool()>& done) {
    using namespace std::chrono;
    const auto end = steady_clock::now() + milliseconds(long(seconds * 1000));
    for (; steady_clock::now() < end; std::this_thread::sleep_for(milliseconds(50))) if (done()) return true;
    return false;
}

std::string slurp(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

}  // namespace

RunningProgram::RunningProgram(const std::string& settings, const std::string& arguments) {
    for (std::string* path : {&out_, &err_}) {
        char name[] = "/tmp/bramblewick-test-XXXXXX";
        close(mkstemp(name));
        *path = name;
    }
    const std::string command = "exec env " + settings + " " BRAMBLEWICK_PROGRAM " " + arguments + " >" + out_ + " 2>" + err_;
    if ((pid_ = fork()) == 0) execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
}

RunningProgram::~RunningProgram() {
    if (pid_ > 0 && kill(pid_, SIGKILL) == 0) waitpid(pid_, nullptr, 0);
    std::remove(out_.c_str());
    std::remove(err_.c_str());
}

std::string RunningProgram::run(const std::string& command) {
    std::string output;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    char buffer[1 << 16];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    pclose(pipe);
    return output;
}

bool RunningProgram::waitForWindow() const {
    return within(30, [] { return !run("xdotool search --name '^Bramblewick$'").empty(); }) &&
           waitUntil([](const Screenshot& s) { return s([](int r, int g, int b) { return r + g + b > 0; }) > 0; });
}

bool RunningProgram::waitUntil(const std::function<bool(const Screenshot&)>& check) const {
    return within(30, [&] {
        const std::string rgb = run("import -window root -depth 8 rgb:-");
        return check([&](const std::function<bool(int, int, int)>& pass) {
            int n = 0;
            for (size_t i = 0; i + 2 < rgb.size(); i += 3) n += pass(uint8_t(rgb[i]), uint8_t(rgb[i + 1]), uint8_t(rgb[i + 2]));
            return n;
        });
    });
}

Ending RunningProgram::wait(double seconds) {
    Ending ending;
    int status = 0;
    if (within(seconds, [&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) {
        ending.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
    }
    ending.out = slurp(out_);
    ending.err = slurp(err_);
    return ending;
}
