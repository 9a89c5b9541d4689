#include "toolcommands.h"

#include "progressreport.h"
#include "tindrel/tindrel.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>

namespace tindreltool {

namespace {

constexpr std::chrono::milliseconds kPollIntervalMs{200};
constexpr int kSwitchToUsb2 = 0;
constexpr int kSwitchToUsb3 = 1;
// A device whose video node this user may not open cannot be told from one that is absent.
const char* const kNoDevice = "no device found (if one is attached, this user may lack access "
                              "to its video node: see 70-kestal.rules)";

void complain(const std::string& text) {
    std::fprintf(stderr, "tindrel-tool: %s\n", text.c_str());
}

// The library from initialize to deInitialize.
class LibrarySession {
public:
    LibrarySession() {
        initialize();
        m_ready = isInitialized();
        if (!m_ready) {
            complain(lastError());
        }
    }
    ~LibrarySession() {
        if (m_ready) {
            deInitialize();
        }
    }
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;

    bool ready() const { return m_ready; }

private:
    bool m_ready = false;
};

// kExitOk with the device's record in `info`, or the exit code after saying why there is no
// device to work with.
int requireDevice(const DeviceInfoRecord*& info) {
    info = getDeviceInfo();
    if (info == nullptr) {
        complain(lastError());
        return kExitFailed;
    }
    if (!info->present) {
        // Another program using the device is not the same as no device at all.
        const bool busy = *lastError() != '\0';
        complain(busy ? lastError() : kNoDevice);
        return busy ? kExitFailed : kExitNoDevice;
    }
    return kExitOk;
}

bool readFile(const std::string& path, std::vector<char>& bytes, std::string& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        error = std::strerror(errno);
        return false;
    }
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(file) != 0;
    const int readError = errno;
    std::fclose(file);
    if (failed) {
        error = std::strerror(readError);
        return false;
    }
    return true;
}

// A flash that stops half way can leave the device without working firmware, so the signals
// that usually end the tool are held off until the update is over.
class UninterruptibleSection {
public:
    UninterruptibleSection() {
        struct sigaction action {};
        action.sa_handler = &UninterruptibleSection::onSignal;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < kSignalCount; ++i) {
            sigaction(kSignals[i], &action, &m_previous[i]);
        }
    }
    ~UninterruptibleSection() {
        for (std::size_t i = 0; i < kSignalCount; ++i) {
            sigaction(kSignals[i], &m_previous[i], nullptr);
        }
    }
    UninterruptibleSection(const UninterruptibleSection&) = delete;
    UninterruptibleSection& operator=(const UninterruptibleSection&) = delete;

private:
    static constexpr std::size_t kSignalCount = 4;
    static constexpr int kSignals[kSignalCount] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

    static void onSignal(int) {
        static const char note[] =
            "\ntindrel-tool: the update cannot be interrupted; waiting for it to finish\n";
        [[maybe_unused]] const auto written = ::write(STDERR_FILENO, note, sizeof note - 1);
    }

    struct sigaction m_previous[kSignalCount] = {};
};

} // namespace

int showInfo() {
    LibrarySession session;
    if (!session.ready()) {
        return kExitFailed;
    }
    const DeviceInfoRecord* info = getDeviceInfo();
    if (info == nullptr || *lastError() != '\0') {
        complain(lastError());
        return kExitFailed;
    }
    std::printf("name: %s\n", info->name);
    std::printf("version: %u.%u.%u\n", static_cast<unsigned>(info->version.major),
                static_cast<unsigned>(info->version.minor),
                static_cast<unsigned>(info->version.build));
    std::printf("present: %s\n", info->present ? "yes" : "no");
    std::printf("single device: %s\n", info->singleDevice ? "yes" : "no");
    if (!info->present) {
        complain(kNoDevice);
        return kExitNoDevice;
    }
    return kExitOk;
}

int flashImage(const std::string& file) {
    std::vector<char> image;
    std::string readError;
    if (!readFile(file, image, readError)) {
        complain("cannot read " + file + ": " + readError);
        return kExitUsage;
    }
    if (image.size() > static_cast<std::size_t>(INT_MAX)) {
        complain(file + " is too large to be a firmware image");
        return kExitUsage;
    }
    LibrarySession session;
    if (!session.ready()) {
        return kExitFailed;
    }
    const DeviceInfoRecord* info = nullptr;
    if (const int exitCode = requireDevice(info); exitCode != kExitOk) {
        return exitCode;
    }
    if (!info->singleDevice) {
        complain("more than one device is attached; attach only the one to update");
        return kExitFailed;
    }
    UninterruptibleSection uninterruptible;
    if (!startFWUpdate(image.data(), static_cast<int>(image.size()))) {
        // The device was there a moment ago and nothing else runs in this process, so the
        // library refused the image itself.
        complain(file + " is not a firmware image for this device (verification failed)");
        return kExitFailed;
    }
    std::printf("Updating the firmware; do not unplug the device.\n");
    std::fflush(stdout);
    ProgressReport progress(stdout, ::isatty(STDOUT_FILENO) != 0);
    bool succeeded = false;
    while (!getUpdateResult(&succeeded)) {
        progress.update(getUpdateProgress());
        std::this_thread::sleep_for(kPollIntervalMs);
    }
    progress.finish(succeeded);
    resetState();
    if (!succeeded) {
        const DeviceInfoRecord* after = getDeviceInfo();
        complain(after != nullptr && !after->present
                     ? "firmware update failed; the device is no longer attached"
                     : "firmware update failed");
        return kExitFailed;
    }
    std::printf("Firmware updated; the device restarts with the new firmware.\n");
    return kExitOk;
}

int showUsbMode() {
    LibrarySession session;
    if (!session.ready()) {
        return kExitFailed;
    }
    const DeviceInfoRecord* info = nullptr;
    if (const int exitCode = requireDevice(info); exitCode != kExitOk) {
        return exitCode;
    }
    const bool usb3 = isUsb3();
    if (*lastError() != '\0') {
        complain(lastError());
        return kExitFailed;
    }
    std::printf("%s\n", usb3 ? "USB 3" : "USB 2");
    return kExitOk;
}

int switchUsbMode(bool usb3) {
    LibrarySession session;
    if (!session.ready()) {
        return kExitFailed;
    }
    const DeviceInfoRecord* info = nullptr;
    if (const int exitCode = requireDevice(info); exitCode != kExitOk) {
        return exitCode;
    }
    execSpecialFunction(usb3 ? kSwitchToUsb3 : kSwitchToUsb2);
    if (*lastError() != '\0') {
        complain(lastError());
        return kExitFailed;
    }
    std::printf("Asked the device to switch to USB %d mode; it re-attaches in that mode.\n",
                usb3 ? 3 : 2);
    return kExitOk;
}

} // namespace tindreltool
