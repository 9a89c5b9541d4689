#include "uvc/linuxuvcdevice.h"

#include "common/winexception.h"
#include "util/iclock.h"
#include "uvc/unitrequest.h"

#include <linux/usb/video.h>

#include <cerrno>
#include <chrono>
#include <limits>

namespace quendral::uvc {

namespace {

constexpr int kSizeQueryAttempts = 5;
constexpr std::chrono::milliseconds kSizeQueryRetryMs{500};
constexpr std::uint16_t kLengthReplyBytes = 2;

bool retryCannotHelp(int error) {
    return error == ENOTTY || error == ENODEV || error == ENOENT;
}

std::string controlName(std::uint8_t selector) {
    return "XU control " + std::to_string(selector);
}

} // namespace

struct LinuxUvcDevice::Private {
    std::unique_ptr<IUvcNode> node;
    Identity identity;
    std::map<util::Guid, std::uint8_t> units;

    // The only two places that talk to the driver.
    void read(std::uint8_t unitId, std::uint8_t selector, std::vector<std::uint8_t>& data);
    void write(std::uint8_t unitId, std::uint8_t selector, const std::vector<std::uint8_t>& data);

    std::uint16_t controlLength(std::uint8_t unitId, std::uint8_t selector);
    int send(std::uint8_t unitId, std::uint8_t selector, std::uint8_t request, std::uint8_t* data,
             std::size_t size);
};

int LinuxUvcDevice::Private::send(std::uint8_t unitId, std::uint8_t selector, std::uint8_t request,
                                  std::uint8_t* data, std::size_t size) {
    if (size > std::numeric_limits<std::uint16_t>::max()) {
        // The request's size field is 16 bits: anything longer would go out cut short.
        return EMSGSIZE;
    }
    uvc_xu_control_query query{};
    query.unit = unitId;
    query.selector = selector;
    query.query = request;
    query.size = static_cast<std::uint16_t>(size);
    query.data = data;
    return node->query(query);
}

std::uint16_t LinuxUvcDevice::Private::controlLength(std::uint8_t unitId, std::uint8_t selector) {
    int error = 0;
    for (int attempt = 0; attempt < kSizeQueryAttempts; ++attempt) {
        std::uint8_t reply[kLengthReplyBytes] = {};
        error = send(unitId, selector, UVC_GET_LEN, reply, sizeof reply);
        if (error == 0) {
            const auto length = static_cast<std::uint16_t>(reply[0] | reply[1] << 8);
            if (length > 0) {
                return length;
            }
        } else if (retryCannotHelp(error)) {
            break;
        }
        util::currentClock()->sleepFor(kSizeQueryRetryMs);
    }
    if (error != 0) {
        throw util::WinException(static_cast<std::uint32_t>(error),
                                 "Failed to determine size of " + controlName(selector));
    }
    return 0;
}

void LinuxUvcDevice::Private::read(std::uint8_t unitId, std::uint8_t selector,
                                   std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes(controlLength(unitId, selector));
    // A control without length has nothing to read, and the driver refuses empty requests.
    if (!bytes.empty()) {
        const int error = send(unitId, selector, UVC_GET_CUR, bytes.data(), bytes.size());
        if (error != 0) {
            throw util::WinException(static_cast<std::uint32_t>(error),
                                     "Failed to read " + controlName(selector));
        }
    }
    data = std::move(bytes);
}

void LinuxUvcDevice::Private::write(std::uint8_t unitId, std::uint8_t selector,
                                    const std::vector<std::uint8_t>& data) {
    // The driver only reads from the buffer for a SET_CUR.
    std::vector<std::uint8_t> bytes = data;
    const int error = send(unitId, selector, UVC_SET_CUR, bytes.data(), bytes.size());
    if (error != 0) {
        throw util::WinException(static_cast<std::uint32_t>(error),
                                 "Failed to write " + controlName(selector));
    }
}

LinuxUvcDevice::LinuxUvcDevice(std::unique_ptr<IUvcNode> node, Identity identity,
                               std::map<util::Guid, std::uint8_t> units)
    : d(std::make_unique<Private>()) {
    d->node = std::move(node);
    d->identity = std::move(identity);
    d->units = std::move(units);
}

LinuxUvcDevice::~LinuxUvcDevice() = default;

std::pair<std::uint16_t, std::uint16_t> LinuxUvcDevice::usbIds() const {
    return {d->identity.vendorId, d->identity.productId};
}

const std::string& LinuxUvcDevice::devicePath() const {
    return d->identity.devicePath;
}

const std::string& LinuxUvcDevice::friendlyName() const {
    return d->identity.friendlyName;
}

UvcResult LinuxUvcDevice::readXu(const util::Guid& unit, std::uint8_t selector,
                                 std::vector<std::uint8_t>& data) {
    return requestOnUnit(d->units, unit, [&](std::uint8_t id) { d->read(id, selector, data); });
}

UvcResult LinuxUvcDevice::writeXu(const util::Guid& unit, std::uint8_t selector,
                                  const std::vector<std::uint8_t>& data) {
    return requestOnUnit(d->units, unit, [&](std::uint8_t id) { d->write(id, selector, data); });
}

} // namespace quendral::uvc
