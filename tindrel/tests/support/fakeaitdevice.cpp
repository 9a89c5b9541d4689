#include "fakeaitdevice.h"

#include "common/winexception.h"
#include "util/pnpproviderfactory.h"
#include "uvc/aitextensionunit.h"

#include <algorithm>

namespace quendral::test {

namespace {

constexpr std::uint32_t kDeviceGone = 31;
constexpr std::uint32_t kRequestFailed = 121;

class FakeHandle final : public uvc::IUvcDevice {
public:
    explicit FakeHandle(std::shared_ptr<FakeAitDevice> device)
        : m_device(std::move(device)) {}

    std::pair<std::uint16_t, std::uint16_t> usbIds() const override { return {0x3b7a, 0x086c}; }
    const std::string& devicePath() const override { return m_name; }
    const std::string& friendlyName() const override { return m_name; }
    uvc::UvcResult readXu(const util::Guid& unit, std::uint8_t selector, Bytes& data) override {
        return m_device->request(false, unit, selector, data);
    }
    uvc::UvcResult writeXu(const util::Guid& unit, std::uint8_t selector,
                           const Bytes& data) override {
        Bytes copy = data;
        return m_device->request(true, unit, selector, copy);
    }

private:
    std::shared_ptr<FakeAitDevice> m_device;
    std::string m_name = "Kestal Capture";
};

class FakeFactory final : public uvc::IUvcDeviceFactory {
public:
    explicit FakeFactory(std::shared_ptr<FakeAitDevice> device)
        : m_device(std::move(device)) {}

    std::unique_ptr<uvc::IUvcDevice> open(std::uint16_t, std::uint16_t, bool*) override {
        std::lock_guard<std::mutex> lock(m_device->mutex);
        return m_device->attached ? std::make_unique<FakeHandle>(m_device) : nullptr;
    }
    bool countVideoInputDevices(std::uint16_t, std::uint16_t, int threshold) override {
        std::lock_guard<std::mutex> lock(m_device->mutex);
        if (m_device->countThrows) {
            throw util::WinException(13, "Failed to obtain device information set");
        }
        return m_device->videoInputs > threshold;
    }
    bool countCaptureInterfaces(std::uint16_t, std::uint16_t, int threshold) override {
        std::lock_guard<std::mutex> lock(m_device->mutex);
        return m_device->captureInterfaces > threshold;
    }

private:
    std::shared_ptr<FakeAitDevice> m_device;
};

class FakePnpProvider final : public util::IPnpProvider {
public:
    bool addListener(util::IPnpListener*) override { return true; }
    bool removeListener(util::IPnpListener*) override { return false; }
};

} // namespace

uvc::UvcResult FakeAitDevice::request(bool write, const util::Guid& unit, std::uint8_t selector,
                                      Bytes& data) {
    XuCall call{write, selector, write ? data : Bytes{}, clock ? clock->nowMs() : 0};
    if (onCall) {
        onCall(call);
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (!attached || unit != uvc::aitExtensionUnit()) {
        return {false, attached ? 0 : kDeviceGone};
    }
    const bool fails = write ? failWriteAt.count(selector) != 0 &&
                                   ++m_writeCounts[selector] == failWriteAt[selector]
                             : failReads[selector] > 0 && failReads[selector]-- > 0;
    if (write && !fails && selector == 1) {
        m_lastCommand = data;
    } else if (write && !fails && selector == 4) {
        m_finalizing = data[1] == 0x01;
        m_polls = 0;
    } else if (!write && !fails) {
        if (readOverride.count(selector) != 0) {
            data = readOverride[selector];
        } else if (selector == 2 && m_lastCommand == command(0x0B)) {
            data = versionReply;
        } else if (selector == 2) {
            data = command(0x00, usb3 ? 0x00 : 0x01);
        } else if (selector == 5) {
            data = {!m_finalizing ? initiationStatus
                                  : (m_polls++ < busyPolls ? std::uint8_t{0x01} : finalStatus)};
        }
        call.data = data;
    }
    m_calls.push_back(call);
    return {!fails, fails ? kRequestFailed : 0};
}

std::vector<XuCall> FakeAitDevice::calls() const {
    std::lock_guard<std::mutex> lock(mutex);
    return m_calls;
}

std::vector<XuCall> FakeAitDevice::callsTo(bool write, std::uint8_t selector) const {
    std::vector<XuCall> matching = calls();
    matching.erase(
        std::remove_if(matching.begin(), matching.end(),
                       [&](const XuCall& c) { return c.write != write || c.selector != selector; }),
        matching.end());
    return matching;
}

void FakeAitDevice::clearCalls() {
    std::lock_guard<std::mutex> lock(mutex);
    m_calls.clear();
    m_writeCounts.clear();
}

FakeEnvironment::FakeEnvironment() {
    device->clock = clock;
    util::setClock(clock);
    uvc::setUvcDeviceFactory(std::make_shared<FakeFactory>(device));
    util::setPnpProviderFactory([] { return std::make_unique<FakePnpProvider>(); });
}

FakeEnvironment::~FakeEnvironment() {
    util::setPnpProviderFactory({});
    uvc::setUvcDeviceFactory(nullptr);
    util::setClock(nullptr);
}

Bytes command(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2) {
    return {b0, b1, b2, 0, 0, 0, 0, 0};
}

std::vector<char> validImage(std::size_t size) {
    std::vector<char> image(size);
    for (std::size_t i = 0; i < size; ++i) {
        image[i] = static_cast<char>(i & 0x7F);
    }
    const std::string signature = "AIT842";
    std::copy_n(signature.begin(), std::min(size, signature.size()), image.begin());
    return image;
}

} // namespace quendral::test
