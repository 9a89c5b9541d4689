#pragma once

#include "emulateddevice.h"
#include "firmwareversion.h"

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quendral::emulator {

/// Exit codes of the kestal-emulator program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; ///< no daemon, or the daemon refused
inline constexpr int kExitUsage = 2;  ///< bad arguments

/// The kestal-emulator program's arguments.
struct CommandLine {
    enum class Action : std::uint8_t { Help, Start, MakeImage, Control };

    static constexpr std::size_t kDefaultImageBytes = 64 * 1024;

    Action action = Action::Help;
    /// Empty: the default path (defaultSocketPath()).
    std::string socketPath;
    bool background = false;
    bool quiet = false;
    DeviceConfig device;
    FirmwareVersion imageVersion;
    std::string imageFile;
    std::size_t imageBytes = kDefaultImageBytes;
    std::vector<std::string> controlWords;

    /// Nothing, with `error` set, when the arguments (without the program name) are wrong.
    static std::optional<CommandLine> parse(const std::vector<std::string>& args,
                                            std::string* error);
};

/// $KESTAL_EMULATOR, else $XDG_RUNTIME_DIR/kestal-emulator.sock, else
/// /tmp/kestal-emulator-<uid>.sock.
std::string defaultSocketPath();

/// Usage text of the program.
std::string usageText();

/// Runs the program; returns its exit code.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace quendral::emulator
