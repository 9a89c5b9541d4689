#include "emulateddevice.h"

#include "deviceids.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

namespace quendral::emulator {

namespace {

std::string idText(const char* vendorPrefix, const char* productPrefix) {
    char text[64];
    std::snprintf(text, sizeof(text), "%s%04x&%s%04x", vendorPrefix, deviceVendorId, productPrefix,
                  deviceProductId);
    return text;
}

const std::string& hidPath() {
    static const std::string path = "kestal-emulator/hid/" + idText("vid_", "pid_");
    return path;
}

const std::string& videoPath() {
    static const std::string path = "kestal-emulator/video/" + idText("vid_", "pid_");
    return path;
}

const std::string& cameraName() {
    static const std::string name = "kestal-emulator/camera/" + idText("VID_", "PID_");
    return name;
}

const char* onOff(bool on) {
    return on ? "on" : "off";
}

} // namespace

EmulatedDevice::EmulatedDevice(const DeviceConfig& config)
    : hdmiConnected_(config.hdmiConnected)
    , otherStreaming_(config.otherStreaming)
    , usbMode_(config.usbMode == 2 ? 2 : 3)
    , version_(config.version) {
    setTimeScale(config.timeScale);
    if (config.attached) {
        arrive();
    }
    // Nobody can have subscribed before the device exists.
    events_.clear();
    published_ = state();
}

DeviceState EmulatedDevice::state() const {
    DeviceState s;
    s.attached = attached_;
    s.hdmiConnected = hdmiConnected_;
    s.otherStreaming = otherStreaming_;
    s.ourStreaming = !streamOwners_.empty();
    s.usbMode = usbMode_;
    s.versionMajor = version_.major;
    s.versionMinor = version_.minor;
    s.versionBuild = version_.build;
    s.enumeration = enumeration_;
    s.hidPath = hidPath();
    s.videoPath = videoPath();
    s.cameraName = cameraName();
    return s;
}

std::string EmulatedDevice::statusText() const {
    const auto s = state();
    std::string attached = s.attached ? "yes" : "no";
    if (!s.attached && returnAt_) {
        attached += " (re-enumerating)";
    }
    char scale[32];
    std::snprintf(scale, sizeof(scale), "%g", timeScale_);
    return "attached: " + attached + "\n" + "hdmi: " + onOff(s.hdmiConnected) + "\n" +
           "other-stream: " + onOff(s.otherStreaming) + "\n" +
           "our-stream: " + onOff(s.ourStreaming) + "\n" + "usb: " + std::to_string(s.usbMode) +
           "\n" + "version: " + s.versionText() + "\n" +
           "enumeration: " + std::to_string(s.enumeration) + "\n" + "hid-path: " + s.hidPath +
           "\n" + "video-path: " + s.videoPath + "\n" + "camera: " + s.cameraName + "\n" +
           "faults: " + faults_.describe() + "\n" + "time-scale: " + scale + "\n";
}

bool EmulatedDevice::plug() {
    if (attached_) {
        return false;
    }
    returnAt_.reset();
    arrive();
    return true;
}

bool EmulatedDevice::unplug() {
    if (attached_) {
        leave();
        return true;
    }
    if (returnAt_) {
        returnAt_.reset();
        return true;
    }
    return false;
}

void EmulatedDevice::setHdmiConnected(bool connected) {
    hdmiConnected_ = connected;
    publishIfChanged();
}

void EmulatedDevice::setOtherStreaming(bool streaming) {
    otherStreaming_ = streaming;
    publishIfChanged();
}

void EmulatedDevice::setVersion(const FirmwareVersion& version) {
    version_ = version;
    unit_.takeFlashedVersion();
    publishIfChanged();
}

bool EmulatedDevice::setUsbMode(int mode, TimePoint now) {
    const int target = mode == 2 ? 2 : 3;
    if (target == pendingUsbMode_.value_or(usbMode_)) {
        return false;
    }
    if (attached_) {
        pendingUsbMode_ = target;
        reenumerate(now);
    } else {
        // Off the bus the mode is simply what the device will come up in.
        pendingUsbMode_.reset();
        usbMode_ = target;
        publishIfChanged();
    }
    return true;
}

void EmulatedDevice::changeFaults(const FaultChange& change) {
    faults_.apply(change);
}

bool EmulatedDevice::setTimeScale(double factor) {
    if (!(factor >= 0.0 && factor <= kMaxTimeScale)) {
        return false;
    }
    timeScale_ = factor;
    return true;
}

std::chrono::milliseconds EmulatedDevice::scaled(std::chrono::milliseconds delay) const {
    return std::chrono::milliseconds(std::llround(static_cast<double>(delay.count()) * timeScale_));
}

bool EmulatedDevice::current(std::uint32_t enumeration) const {
    return attached_ && enumeration == enumeration_;
}

DeviceReply EmulatedDevice::readHidReport(std::uint32_t enumeration) {
    if (!current(enumeration)) {
        return DeviceReply{ENODEV, {}};
    }
    switch (faults_.hidReadFault) {
    case ReadFault::Error:
        return DeviceReply{EIO, {}};
    case ReadFault::Short:
        return DeviceReply{0, {0x00}};
    case ReadFault::None:
        break;
    }
    return DeviceReply{0, {0x00, state().hidStatusByte()}};
}

DeviceReply EmulatedDevice::xuLength(std::uint32_t enumeration, std::uint8_t selector) {
    if (!current(enumeration)) {
        return DeviceReply{ENODEV, {}};
    }
    auto outcome = unit_.length(selector);
    return DeviceReply{outcome.errorCode, std::move(outcome.data)};
}

DeviceReply EmulatedDevice::xuGet(std::uint32_t enumeration, std::uint8_t selector, TimePoint now) {
    if (!current(enumeration)) {
        return DeviceReply{ENODEV, {}};
    }
    auto outcome = unit_.get(selector, now, faults_);
    return DeviceReply{outcome.errorCode, std::move(outcome.data)};
}

DeviceReply EmulatedDevice::xuSet(std::uint32_t enumeration, std::uint8_t selector,
                                  const std::vector<std::uint8_t>& data, TimePoint now) {
    if (!current(enumeration)) {
        return DeviceReply{ENODEV, {}};
    }
    const UnitContext context{version_, usbMode_, scaled(kFinalizeBusy)};
    auto outcome = unit_.set(selector, data, now, faults_, context);
    switch (outcome.effect) {
    case XuEffect::EnterUsb2:
        pendingUsbMode_ = 2;
        reenumerate(now);
        break;
    case XuEffect::EnterUsb3:
        pendingUsbMode_ = 3;
        reenumerate(now);
        break;
    case XuEffect::InstallFirmware:
        reenumerate(now);
        break;
    case XuEffect::Vanish:
        faults_.vanishStep = VanishStep::None;
        faults_.vanishDataWrite = 0;
        leave();
        break;
    case XuEffect::None:
        break;
    }
    return DeviceReply{outcome.errorCode, std::move(outcome.data)};
}

bool EmulatedDevice::setStreaming(std::uint64_t owner, bool on) {
    if (on && !attached_) {
        return false;
    }
    if (on) {
        streamOwners_.insert(owner);
    } else {
        streamOwners_.erase(owner);
    }
    publishIfChanged();
    return true;
}

void EmulatedDevice::releaseOwner(std::uint64_t owner) {
    streamOwners_.erase(owner);
    publishIfChanged();
}

void EmulatedDevice::advance(TimePoint now) {
    if (returnAt_ && now >= *returnAt_) {
        returnAt_.reset();
        arrive();
    }
}

std::vector<Event> EmulatedDevice::takeEvents() {
    std::vector<Event> out;
    out.swap(events_);
    return out;
}

void EmulatedDevice::arrive() {
    if (const auto flashed = unit_.takeFlashedVersion()) {
        version_ = *flashed;
    }
    if (pendingUsbMode_) {
        usbMode_ = *pendingUsbMode_;
        pendingUsbMode_.reset();
    }
    ++enumeration_;
    attached_ = true;
    publish(EventKind::Arrived);
}

void EmulatedDevice::leave() {
    attached_ = false;
    streamOwners_.clear();
    unit_.reset();
    publish(EventKind::Removed);
}

void EmulatedDevice::reenumerate(TimePoint now) {
    leave();
    returnAt_ = now + scaled(kReenumerationGap);
}

void EmulatedDevice::publish(EventKind kind) {
    published_ = state();
    events_.push_back(Event{kind, published_});
}

void EmulatedDevice::publishIfChanged() {
    if (state() != published_) {
        publish(EventKind::StateChanged);
    }
}

} // namespace quendral::emulator
