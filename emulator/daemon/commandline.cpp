#include "commandline.h"

#include "controlcommand.h"
#include "emulatorclient.h"
#include "emulatorserver.h"
#include "firmwareimage.h"
#include "socketio.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <ostream>
#include <thread>
#include <unistd.h>

namespace quendral::emulator {

namespace {

constexpr std::size_t kMaxImageFileBytes = ExtensionUnit::kMaxImageBytes;
constexpr auto kStopWait = std::chrono::milliseconds(2000);
constexpr auto kStopPollInterval = std::chrono::milliseconds(20);
constexpr char kReadyByte = '+';
/// Descriptors 0 to 2 are the standard streams; everything above came from the starter.
constexpr int kFirstInheritedFd = 3;

std::atomic<EmulatorServer*> gSignalledServer{nullptr};

extern "C" void stopOnSignal(int /*signal*/) {
    if (auto* server = gSignalledServer.load()) {
        server->requestStop();
    }
}

std::optional<bool> onOff(const std::string& word) {
    if (word == "on") {
        return true;
    }
    if (word == "off") {
        return false;
    }
    return std::nullopt;
}

std::optional<std::size_t> byteCount(const std::string& word) {
    if (word.empty() || word.size() > 9 ||
        word.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto value = std::strtoull(word.c_str(), nullptr, 10);
    if (value < FirmwareImage::kHeaderBytes || value > kMaxImageFileBytes) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(value);
}

bool parseStartOption(const std::vector<std::string>& args, std::size_t& i, CommandLine& line,
                      std::string& error) {
    const auto& option = args[i];
    auto value = [&]() -> const std::string* {
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return nullptr;
        }
        return &args[++i];
    };
    if (option == "--background") {
        line.background = true;
    } else if (option == "--quiet") {
        line.quiet = true;
    } else if (option == "--detached") {
        line.device.attached = false;
    } else if (option == "--hdmi" || option == "--other-stream") {
        const auto* word = value();
        const auto on = word != nullptr ? onOff(*word) : std::nullopt;
        if (!on) {
            error = error.empty() ? option + " needs 'on' or 'off'" : error;
            return false;
        }
        (option == "--hdmi" ? line.device.hdmiConnected : line.device.otherStreaming) = *on;
    } else if (option == "--version") {
        const auto* word = value();
        const auto version = word != nullptr ? FirmwareVersion::parse(*word) : std::nullopt;
        if (!version) {
            error = "--version needs X.Y.Z with each part from 0 to 99";
            return false;
        }
        line.device.version = *version;
    } else if (option == "--usb") {
        const auto* word = value();
        if (word == nullptr || (*word != "2" && *word != "3")) {
            error = "--usb needs 2 or 3";
            return false;
        }
        line.device.usbMode = *word == "2" ? 2 : 3;
    } else if (option == "--time-scale") {
        const auto* word = value();
        std::string ignored;
        const auto command =
            word != nullptr ? ControlCommand::parse({"time-scale", *word}, &ignored) : std::nullopt;
        if (!command) {
            error = "--time-scale needs a factor from 0 to 100";
            return false;
        }
        line.device.timeScale = command->timeScale;
    } else {
        error = "unknown option for start: " + option;
        return false;
    }
    return true;
}

int serve(EmulatorServer& server) {
    gSignalledServer.store(&server);
    struct sigaction action {};
    action.sa_handler = stopOnSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    server.run();
    gSignalledServer.store(nullptr);
    return kExitOk;
}

int startInForeground(const CommandLine& line, const std::string& socketPath, std::ostream& err) {
    EmulatorServer::LogSink log;
    if (!line.quiet) {
        log = [&err](const std::string& text) {
            err << "kestal-emulator: " << text << std::endl;
        };
    }
    EmulatorServer server(socketPath, line.device, log);
    std::string error;
    if (!server.listen(&error)) {
        err << "kestal-emulator: " << error << "\n";
        return kExitFailed;
    }
    return serve(server);
}

// The daemon must not keep anything its starter had open: a lock held by a build script, the
// pipe a test reads its output from. So the child leaves the session, closes every inherited
// descriptor, and reports over a pipe of its own whether it listens; the parent returns only
// then.
int startInBackground(const CommandLine& line, const std::string& socketPath, std::ostream& out,
                      std::ostream& err) {
    int ready[2] = {-1, -1};
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        err << "kestal-emulator: cannot start in the background: " << std::strerror(errno) << "\n";
        return kExitFailed;
    }
    out.flush();
    err.flush();
    const pid_t pid = ::fork();
    if (pid < 0) {
        err << "kestal-emulator: cannot start in the background: " << std::strerror(errno) << "\n";
        ::close(ready[0]);
        ::close(ready[1]);
        return kExitFailed;
    }
    if (pid > 0) {
        ::close(ready[1]);
        std::string report;
        char chunk[256];
        ssize_t n = 0;
        while ((n = ::read(ready[0], chunk, sizeof(chunk))) > 0 || (n < 0 && errno == EINTR)) {
            report.append(chunk, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        }
        ::close(ready[0]);
        if (report.empty() || report[0] != kReadyByte) {
            err << "kestal-emulator: "
                << (report.size() > 1 ? report.substr(1) : "the daemon did not start") << "\n";
            return kExitFailed;
        }
        out << socketPath << std::endl;
        return kExitOk;
    }

    ::setsid();
    // A starter that is gone must not take the daemon with it through its report pipe.
    std::signal(SIGPIPE, SIG_IGN);
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
    }
    const int reportFd = kFirstInheritedFd;
    if (ready[1] != reportFd) {
        ::dup2(ready[1], reportFd);
    }
    ::close_range(kFirstInheritedFd + 1, ~0U, 0);

    EmulatorServer server(socketPath, line.device);
    std::string error;
    const bool listening = server.listen(&error);
    const std::string report = listening ? std::string(1, kReadyByte) : "-" + error;
    [[maybe_unused]] const auto written = ::write(reportFd, report.data(), report.size());
    ::close(reportFd);
    return listening ? serve(server) : kExitFailed;
}

int makeImage(const CommandLine& line, std::ostream& out, std::ostream& err) {
    const auto image = FirmwareImage::build(line.imageVersion, line.imageBytes);
    std::ofstream file(line.imageFile, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    file.close();
    if (!file) {
        err << "kestal-emulator: cannot write " << line.imageFile << "\n";
        return kExitFailed;
    }
    out << "wrote " << line.imageFile << ": " << image.size() << " bytes, version "
        << line.imageVersion.text() << "\n";
    return kExitOk;
}

int sendControl(const CommandLine& line, const std::string& socketPath, std::ostream& out,
                std::ostream& err) {
    std::string error;
    const auto client = EmulatorClient::connect(socketPath, &error);
    if (!client) {
        err << "kestal-emulator: no emulator running (" << error << ")\n";
        return kExitFailed;
    }
    const auto result = client->control(line.controlWords);
    if (!result.ok) {
        err << "kestal-emulator: " << result.text << "\n";
        return kExitFailed;
    }
    out << result.text;
    if (result.text.empty() || result.text.back() != '\n') {
        out << "\n";
    }
    if (line.controlWords.front() == "stop") {
        // Scripts expect the daemon gone when stop returns.
        const auto deadline = std::chrono::steady_clock::now() + kStopWait;
        while (socketio::connectTo(socketPath, nullptr).valid()) {
            if (std::chrono::steady_clock::now() > deadline) {
                err << "kestal-emulator: the daemon did not stop in time\n";
                return kExitFailed;
            }
            std::this_thread::sleep_for(kStopPollInterval);
        }
    }
    return kExitOk;
}

} // namespace

std::optional<CommandLine> CommandLine::parse(const std::vector<std::string>& args,
                                              std::string* error) {
    CommandLine line;
    std::string message;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--socket") {
            if (i + 1 >= args.size() || !socketio::fitsSocketAddress(args[i + 1])) {
                message = "--socket needs a path of at most 107 bytes";
                break;
            }
            line.socketPath = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    if (message.empty()) {
        const std::string verb = rest.empty() ? "" : rest.front();
        if (verb.empty()) {
            message = "no command given";
        } else if (verb == "help" || verb == "--help" || verb == "-h") {
            line.action = Action::Help;
        } else if (verb == "start") {
            line.action = Action::Start;
            for (std::size_t i = 1; i < rest.size() && message.empty(); ++i) {
                parseStartOption(rest, i, line, message);
            }
        } else if (verb == "make-image") {
            line.action = Action::MakeImage;
            std::vector<std::string> positional;
            for (std::size_t i = 1; i < rest.size() && message.empty(); ++i) {
                if (rest[i] == "--size") {
                    const auto size = i + 1 < rest.size() ? byteCount(rest[i + 1]) : std::nullopt;
                    if (!size) {
                        message = "--size needs a byte count from " +
                                  std::to_string(FirmwareImage::kHeaderBytes) + " to " +
                                  std::to_string(kMaxImageFileBytes);
                    } else {
                        line.imageBytes = *size;
                        ++i;
                    }
                } else {
                    positional.push_back(rest[i]);
                }
            }
            if (message.empty()) {
                const auto version =
                    positional.size() == 2 ? FirmwareVersion::parse(positional[0]) : std::nullopt;
                if (!version) {
                    message = "make-image needs X.Y.Z (each part 0 to 99) and a file name";
                } else {
                    line.imageVersion = *version;
                    line.imageFile = positional[1];
                }
            }
        } else {
            line.action = Action::Control;
            if (ControlCommand::parse(rest, &message)) {
                line.controlWords = rest;
            }
        }
    }
    if (!message.empty()) {
        if (error != nullptr) {
            *error = message;
        }
        return std::nullopt;
    }
    return line;
}

std::string defaultSocketPath() {
    if (const auto fromEnvironment = EmulatorClient::socketPathFromEnvironment()) {
        return *fromEnvironment;
    }
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0') {
        return std::string(runtimeDir) + "/kestal-emulator.sock";
    }
    return "/tmp/kestal-emulator-" + std::to_string(::getuid()) + ".sock";
}

std::string usageText() {
    return std::string(
               "usage: kestal-emulator [--socket PATH] COMMAND\n"
               "\n"
               "  start [OPTIONS]              run the emulated device\n"
               "      --background             return once the socket listens; the\n"
               "                               daemon goes on in the background\n"
               "      --detached               start unplugged\n"
               "      --hdmi on|off            HDMI source (default off)\n"
               "      --other-stream on|off    another program streams (default off)\n"
               "      --version X.Y.Z          firmware version (default 1.0.0)\n"
               "      --usb 2|3                USB mode (default 3)\n"
               "      --time-scale FACTOR      factor on device delays (default 1)\n"
               "      --quiet                  no log lines\n"
               "  make-image X.Y.Z FILE [--size BYTES]\n"
               "                               write a firmware image the device accepts\n") +
           controlCommandUsage() +
           "\n"
           "The socket is --socket PATH, else $KESTAL_EMULATOR, else\n"
           "$XDG_RUNTIME_DIR/kestal-emulator.sock. Exit codes: 0 done, 1 no emulator running or\n"
           "the command failed, 2 bad arguments.\n";
}

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto line = CommandLine::parse(args, &error);
    if (!line) {
        err << "kestal-emulator: " << error << "\n"
            << "Try 'kestal-emulator help'.\n";
        return kExitUsage;
    }
    const auto socketPath = line->socketPath.empty() ? defaultSocketPath() : line->socketPath;
    switch (line->action) {
    case CommandLine::Action::Help:
        out << usageText();
        return kExitOk;
    case CommandLine::Action::Start:
        return line->background ? startInBackground(*line, socketPath, out, err)
                                : startInForeground(*line, socketPath, err);
    case CommandLine::Action::MakeImage:
        return makeImage(*line, out, err);
    case CommandLine::Action::Control:
        return sendControl(*line, socketPath, out, err);
    }
    return kExitUsage;
}

} // namespace quendral::emulator
