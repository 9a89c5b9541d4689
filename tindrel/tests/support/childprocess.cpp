#include "support/childprocess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quendral::test {

namespace {

constexpr int kPollIntervalMs = 20;

std::vector<std::string>
mergedEnvironment(const std::vector<std::pair<std::string, std::string>>& changes) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (std::none_of(changes.begin(), changes.end(), [&](const auto& change) {
                return text.rfind(change.first + "=", 0) == 0;
            })) {
            merged.push_back(text);
        }
    }
    for (const auto& [name, value] : changes) {
        merged.push_back(name + "=" + value);
    }
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (auto& text : strings) {
        result.push_back(text.data());
    }
    result.push_back(nullptr);
    return result;
}

// Reads what is there without blocking; false once the other side is closed for good.
bool drain(int fd, std::string& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            into.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        // EAGAIN: nothing more for now. 0 or EIO (a pseudo-terminal whose child side closed):
        // nothing more ever.
        return got < 0 && errno == EAGAIN;
    }
}

} // namespace

ChildResult runChild(const std::vector<std::string>& argv, const ChildOptions& options) {
    ChildResult result;
    std::vector<std::string> args = argv;
    std::vector<std::string> environment = mergedEnvironment(options.environment);
    std::vector<char*> argPointers = pointers(args);
    std::vector<char*> environmentPointers = pointers(environment);

    int outFds[2] = {-1, -1};
    int errFds[2] = {-1, -1};
    // A failure here fails the test that asked; the descriptors are not worth giving back.
    if ((options.terminal ? ::openpty(&outFds[0], &outFds[1], nullptr, nullptr, nullptr)
                          : ::pipe2(outFds, O_CLOEXEC)) != 0 ||
        ::pipe2(errFds, O_CLOEXEC) != 0) {
        result.err = std::string("cannot create the output channels: ") + std::strerror(errno);
        return result;
    }
    if (options.terminal) {
        ::fcntl(outFds[0], F_SETFD, FD_CLOEXEC);
        ::fcntl(outFds[1], F_SETFD, FD_CLOEXEC);
    }
    const auto started = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setpgid(0, 0);
        ::dup2(outFds[1], STDOUT_FILENO);
        ::dup2(errFds[1], STDERR_FILENO);
        const int devNull = ::open("/dev/null", O_RDONLY);
        ::dup2(devNull, STDIN_FILENO);
        ::execve(argPointers[0], argPointers.data(), environmentPointers.data());
        ::_exit(127);
    }
    ::close(outFds[1]);
    ::close(errFds[1]);
    if (pid < 0) {
        result.err = std::string("cannot fork: ") + std::strerror(errno);
        ::close(outFds[0]);
        ::close(errFds[0]);
        return result;
    }
    ::fcntl(outFds[0], F_SETFL, O_NONBLOCK);
    ::fcntl(errFds[0], F_SETFL, O_NONBLOCK);

    int status = 0;
    for (;;) {
        pollfd fds[2] = {{outFds[0], POLLIN, 0}, {errFds[0], POLLIN, 0}};
        ::poll(fds, 2, kPollIntervalMs);
        drain(outFds[0], result.out);
        drain(errFds[0], result.err);
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            break;
        }
        if (std::chrono::steady_clock::now() - started > options.timeout) {
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.timedOut = true;
            break;
        }
    }
    drain(outFds[0], result.out);
    drain(errFds[0], result.err);
    ::close(outFds[0]);
    ::close(errFds[0]);
    if (!result.timedOut && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

} // namespace quendral::test
