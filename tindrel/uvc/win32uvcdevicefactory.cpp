#include "uvc/win32uvcdevicefactory.h"

#include "common/win32text.h"
#include "common/winexception.h"
#include "uvc/aitextensionunit.h"
#include "uvc/win32deviceclaim.h"
#include "uvc/win32uvcdevice.h"

#include <algorithm>

namespace quendral::uvc {

namespace {

// The response register: every device of this kind answers it.
constexpr std::uint8_t kProbeSelector = 2;

int countMatching(const std::vector<std::string>& paths, std::uint16_t vendorId,
                  std::uint16_t productId) {
    return static_cast<int>(std::count_if(paths.begin(), paths.end(), [&](const auto& path) {
        return util::pathHasUsbIds(path, vendorId, productId);
    }));
}

// The filter of a claimed device: the claim lasts exactly as long as the device is open.
class ClaimedFilter final : public IKsFilter {
public:
    ClaimedFilter(std::unique_ptr<DeviceClaim> claim, std::unique_ptr<IKsFilter> filter)
        : m_claim(std::move(claim))
        , m_filter(std::move(filter)) {}

    DWORD ioControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                    DWORD* returned) override {
        return m_filter->ioControl(code, in, inSize, out, outSize, returned);
    }

private:
    std::unique_ptr<DeviceClaim> m_claim;
    std::unique_ptr<IKsFilter> m_filter;
};

} // namespace

struct Win32UvcDeviceFactory::Private {
    std::shared_ptr<IDeviceDirectory> directory;
    std::shared_ptr<IKsFilterOpener> opener;

    std::unique_ptr<IUvcDevice> probe(const DeviceInterface& entry, std::uint16_t vendorId,
                                      std::uint16_t productId, bool* heldElsewhere) const;
};

std::unique_ptr<IUvcDevice> Win32UvcDeviceFactory::Private::probe(const DeviceInterface& entry,
                                                                  std::uint16_t vendorId,
                                                                  std::uint16_t productId,
                                                                  bool* heldElsewhere) const {
    auto claim = DeviceClaim::take(entry.instanceId, heldElsewhere);
    if (!claim) {
        return nullptr;
    }
    auto opened = opener->open(entry.path);
    if (!opened) {
        return nullptr;
    }
    auto filter = std::make_unique<ClaimedFilter>(std::move(claim), std::move(opened));
    std::map<util::Guid, std::uint32_t> units;
    try {
        units = findExtensionUnitNodes(*filter, {aitExtensionUnit()});
    } catch (const util::WinException&) {
        // Not a filter whose topology can be read: none of ours.
        return nullptr;
    }
    auto device = std::make_unique<Win32UvcDevice>(
        std::move(filter),
        Win32UvcDevice::Identity{vendorId, productId, entry.path, entry.friendlyName},
        std::move(units));
    std::vector<std::uint8_t> reply;
    if (!device->readXu(aitExtensionUnit(), kProbeSelector, reply).ok) {
        return nullptr;
    }
    return device;
}

Win32UvcDeviceFactory::Win32UvcDeviceFactory(std::shared_ptr<IDeviceDirectory> directory,
                                             std::shared_ptr<IKsFilterOpener> opener)
    : d(std::make_unique<Private>()) {
    d->directory = std::move(directory);
    d->opener = std::move(opener);
}

Win32UvcDeviceFactory::~Win32UvcDeviceFactory() = default;

std::unique_ptr<IUvcDevice>
Win32UvcDeviceFactory::open(std::uint16_t vendorId, std::uint16_t productId, bool* heldElsewhere) {
    // One interface held by another program makes the device busy, whatever the others do.
    bool held = false;
    try {
        for (const auto& entry : d->directory->videoCaptureInterfaces()) {
            if (!util::pathHasUsbIds(entry.path, vendorId, productId)) {
                continue;
            }
            bool thisHeld = false;
            if (auto device = d->probe(entry, vendorId, productId, &thisHeld)) {
                *heldElsewhere = false;
                return device;
            }
            held = held || thisHeld;
        }
    } catch (const std::exception&) {
        // Whatever cannot be asked holds no device for us.
    }
    *heldElsewhere = held;
    return nullptr;
}

bool Win32UvcDeviceFactory::countVideoInputDevices(std::uint16_t vendorId, std::uint16_t productId,
                                                   int threshold) {
    return countMatching(d->directory->videoInputDevicePaths(), vendorId, productId) > threshold;
}

bool Win32UvcDeviceFactory::countCaptureInterfaces(std::uint16_t vendorId, std::uint16_t productId,
                                                   int threshold) {
    return countMatching(d->directory->captureInterfacePaths(), vendorId, productId) > threshold;
}

} // namespace quendral::uvc
