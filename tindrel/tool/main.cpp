// tindrel-tool: firmware updates and USB-mode changes of the Kestal capture device from the
// command line, through the tindrel library's public interface.

#include "toolcommands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: tindrel-tool COMMAND\n"
    "\n"
    "  info         show the device's name, firmware version and whether it is attached\n"
    "  flash FILE   install the firmware image FILE\n"
    "  usb-mode     show whether the device runs in USB 2 or USB 3 mode\n"
    "  usb2, usb3   switch the device to USB 2 or USB 3 mode\n"
    "  help         show this text\n"
    "\n"
    "Exit codes: 0 done, 1 failed, 2 bad arguments or unreadable file, 3 no device.\n"
    "With KESTAL_EMULATOR naming an emulator's socket, the emulated device is used.\n";

int usageError(const std::string& text) {
    std::fprintf(stderr, "tindrel-tool: %s\n%s", text.c_str(), kUsage);
    return tindreltool::kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return usageError("no command given");
    }
    const std::string& command = args[0];
    const std::size_t operands = command == "flash" ? 1 : 0;
    if (command == "help" || command == "--help" || command == "-h") {
        std::printf("%s", kUsage);
        return tindreltool::kExitOk;
    }
    if (command != "info" && command != "flash" && command != "usb-mode" && command != "usb2" &&
        command != "usb3") {
        return usageError("unknown command '" + command + "'");
    }
    if (args.size() != operands + 1) {
        return usageError(operands == 1 ? "'flash' takes one image file"
                                        : "'" + command + "' takes no arguments");
    }
    if (command == "info") {
        return tindreltool::showInfo();
    }
    if (command == "flash") {
        return tindreltool::flashImage(args[1]);
    }
    if (command == "usb-mode") {
        return tindreltool::showUsbMode();
    }
    return tindreltool::switchUsbMode(command == "usb3");
}
