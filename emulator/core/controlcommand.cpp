#include "controlcommand.h"

#include <cerrno>
#include <cstdlib>

namespace quendral::emulator {

namespace {

using Words = std::vector<std::string>;

constexpr std::uint32_t kMaxWriteNumber = 1u << 24;

std::optional<bool> parseOnOff(const std::string& word) {
    if (word == "on") {
        return true;
    }
    if (word == "off") {
        return false;
    }
    return std::nullopt;
}

std::optional<std::uint32_t> parseCount(const std::string& word, std::uint32_t max) {
    if (word.empty() || word.size() > 9 ||
        word.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const auto value = std::strtoul(word.c_str(), nullptr, 10);
    if (value == 0 || value > max) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<double> parseFactor(const std::string& word) {
    if (word.empty() || word.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (errno != 0 || end == nullptr || *end != '\0' || !(value >= 0.0) ||
        value > EmulatedDevice::kMaxTimeScale) {
        return std::nullopt;
    }
    return value;
}

std::optional<ReadFault> parseReadFault(const std::string& word) {
    if (word == "short") {
        return ReadFault::Short;
    }
    if (word == "error") {
        return ReadFault::Error;
    }
    return std::nullopt;
}

constexpr const char* kFailUsage =
    "fail needs one of: init, write K, finalize, busy, vanish init|finalize|close|write K, "
    "read short|error [SELECTOR], hid short|error, clear";

std::optional<FaultChange> parseFault(const Words& words, std::string& error) {
    using What = FaultChange::What;
    FaultChange change;
    const auto argc = words.size();
    const std::string what = argc > 1 ? words[1] : "";
    if (what == "clear" && argc == 2) {
        change.what = What::Clear;
    } else if (what == "init" && argc == 2) {
        change.what = What::RefuseInitiation;
    } else if (what == "finalize" && argc == 2) {
        change.what = What::FailFinalization;
    } else if (what == "busy" && argc == 2) {
        change.what = What::BusyForever;
    } else if (what == "write" && argc == 3) {
        const auto k = parseCount(words[2], kMaxWriteNumber);
        if (!k) {
            error = "fail write needs a write number from 1 to " + std::to_string(kMaxWriteNumber);
            return std::nullopt;
        }
        change.what = What::FailDataWrite;
        change.index = *k;
    } else if (what == "vanish" && (argc == 3 || argc == 4)) {
        change.what = What::Vanish;
        const auto& step = words[2];
        if (step == "init" && argc == 3) {
            change.step = VanishStep::Initiation;
        } else if (step == "finalize" && argc == 3) {
            change.step = VanishStep::Finalization;
        } else if (step == "close" && argc == 3) {
            change.step = VanishStep::Closing;
        } else if (step == "write" && argc == 4) {
            const auto k = parseCount(words[3], kMaxWriteNumber);
            if (!k) {
                error = "fail vanish write needs a write number from 1 to " +
                        std::to_string(kMaxWriteNumber);
                return std::nullopt;
            }
            change.step = VanishStep::DataWrite;
            change.index = *k;
        } else {
            error = "fail vanish needs init, finalize, close or write K";
            return std::nullopt;
        }
    } else if (what == "read" && (argc == 3 || argc == 4)) {
        const auto fault = parseReadFault(words[2]);
        if (!fault) {
            error = "fail read needs short or error";
            return std::nullopt;
        }
        change.what = What::XuRead;
        change.read = *fault;
        if (argc == 4) {
            const auto selector = parseCount(words[3], 255);
            if (!selector || (*selector != ExtensionUnit::kResponseSelector &&
                              *selector != ExtensionUnit::kUpdateStatusSelector)) {
                error = "fail read: the readable selectors are 2 and 5";
                return std::nullopt;
            }
            change.selector = static_cast<std::uint8_t>(*selector);
        }
    } else if (what == "hid" && argc == 3) {
        const auto fault = parseReadFault(words[2]);
        if (!fault) {
            error = "fail hid needs short or error";
            return std::nullopt;
        }
        change.what = What::HidRead;
        change.read = *fault;
    } else {
        error = kFailUsage;
        return std::nullopt;
    }
    return change;
}

} // namespace

const char* controlCommandUsage() {
    return "  plug | unplug                attach or detach the device\n"
           "  hdmi on|off                  connect or disconnect the HDMI source\n"
           "  other-stream on|off          another program streams from the camera\n"
           "  set-version X.Y.Z            firmware version (each part 0..99)\n"
           "  usb 2|3                      USB mode (the device re-enumerates)\n"
           "  time-scale FACTOR            factor on device delays (0 = instant)\n"
           "  fail init                    refuse the update initiation\n"
           "  fail write K                 fail the K-th data write of a transfer\n"
           "  fail finalize                finalize with status 0x82\n"
           "  fail busy                    stay busy after finalization\n"
           "  fail vanish init|finalize|close|write K\n"
           "                               leave the bus at that step (once)\n"
           "  fail read short|error [SEL]  answer extension-unit reads short or failed\n"
           "  fail hid short|error         answer HID reports short or failed\n"
           "  fail clear                   remove every fault\n"
           "  status                       show the device state\n"
           "  stop                         end the daemon\n";
}

std::optional<ControlCommand> ControlCommand::parse(const Words& words, std::string* error) {
    std::string message;
    ControlCommand command;
    const auto argc = words.size();
    const std::string verb = argc > 0 ? words[0] : "";

    auto onOffCommand = [&](Kind wanted) -> bool {
        const auto state = argc == 2 ? parseOnOff(words[1]) : std::nullopt;
        if (!state) {
            message = verb + " needs 'on' or 'off'";
            return false;
        }
        command.kind = wanted;
        command.on = *state;
        return true;
    };
    auto bare = [&](Kind wanted) -> bool {
        if (argc != 1) {
            message = verb + " takes no arguments";
            return false;
        }
        command.kind = wanted;
        return true;
    };

    bool ok = false;
    if (verb == "plug") {
        ok = bare(Kind::Plug);
    } else if (verb == "unplug") {
        ok = bare(Kind::Unplug);
    } else if (verb == "status") {
        ok = bare(Kind::Status);
    } else if (verb == "stop") {
        ok = bare(Kind::Stop);
    } else if (verb == "hdmi") {
        ok = onOffCommand(Kind::Hdmi);
    } else if (verb == "other-stream") {
        ok = onOffCommand(Kind::OtherStream);
    } else if (verb == "set-version") {
        const auto version = argc == 2 ? FirmwareVersion::parse(words[1]) : std::nullopt;
        if (version) {
            command.kind = Kind::SetVersion;
            command.version = *version;
            ok = true;
        } else {
            message = "set-version needs X.Y.Z with each part from 0 to 99";
        }
    } else if (verb == "usb") {
        if (argc == 2 && (words[1] == "2" || words[1] == "3")) {
            command.kind = Kind::Usb;
            command.usbMode = words[1] == "2" ? 2 : 3;
            ok = true;
        } else {
            message = "usb needs 2 or 3";
        }
    } else if (verb == "time-scale") {
        const auto factor = argc == 2 ? parseFactor(words[1]) : std::nullopt;
        if (factor) {
            command.kind = Kind::TimeScale;
            command.timeScale = *factor;
            ok = true;
        } else {
            message = "time-scale needs a factor from 0 to 100";
        }
    } else if (verb == "fail") {
        if (auto change = parseFault(words, message)) {
            command.kind = Kind::Fail;
            command.fault = *change;
            ok = true;
        }
    } else if (verb.empty()) {
        message = "no command given";
    } else {
        message = "unknown command '" + verb + "'";
    }
    if (!ok) {
        if (error != nullptr) {
            *error = message;
        }
        return std::nullopt;
    }
    return command;
}

std::string ControlCommand::applyTo(EmulatedDevice& device, TimePoint now) const {
    switch (kind) {
    case Kind::Plug:
        return device.plug() ? "device attached" : "device was attached already";
    case Kind::Unplug:
        return device.unplug() ? "device detached" : "device was detached already";
    case Kind::Hdmi:
        device.setHdmiConnected(on);
        return on ? "HDMI source connected" : "HDMI source disconnected";
    case Kind::OtherStream:
        device.setOtherStreaming(on);
        return on ? "another program streams" : "no other program streams";
    case Kind::SetVersion:
        device.setVersion(version);
        return "firmware version " + version.text();
    case Kind::Usb:
        return device.setUsbMode(usbMode, now)
                   ? "switching to USB " + std::to_string(usbMode)
                   : "device runs in USB " + std::to_string(usbMode) + " mode already";
    case Kind::TimeScale:
        device.setTimeScale(timeScale);
        return "time scale set";
    case Kind::Fail:
        device.changeFaults(fault);
        return "faults: " + device.faults().describe();
    case Kind::Status:
        return device.statusText();
    case Kind::Stop:
        return "stopping";
    }
    return {};
}

} // namespace quendral::emulator
