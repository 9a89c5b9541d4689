#include "uvc/win32uvcdevice.h"

#include "common/winexception.h"
#include "util/iclock.h"
#include "uvc/unitrequest.h"

#include <winioctl.h>

#include <ks.h>
#include <ksmedia.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstring>

namespace quendral::uvc {

namespace {

constexpr int kSizeQueryAttempts = 5;
constexpr std::chrono::milliseconds kSizeQueryRetryMs{500};
// The size question's retries end once this is spent, however long the driver takes to answer.
constexpr std::chrono::milliseconds kSizeQueryBudgetMs{kSizeQueryAttempts * kSizeQueryRetryMs};

// The requests as the kernel-streaming driver reads them, the same on 32 and 64 bits.
static_assert(sizeof(GUID) == 16, "GUID");
static_assert(sizeof(KSPROPERTY) == 24 && offsetof(KSPROPERTY, Id) == 16 &&
                  offsetof(KSPROPERTY, Flags) == 20,
              "property request");
static_assert(sizeof(KSP_NODE) == 32 && offsetof(KSP_NODE, NodeId) == 24 &&
                  offsetof(KSP_NODE, Reserved) == 28,
              "node property request");
static_assert(sizeof(KSMULTIPLE_ITEM) == 8 && offsetof(KSMULTIPLE_ITEM, Count) == 4,
              "multiple-item header");

const GUID kTopologySet = {STATIC_KSPROPSETID_Topology};
const GUID kVendorSpecificNode = {STATIC_KSNODETYPE_DEV_SPECIFIC};

GUID toGuid(const util::Guid& guid) {
    static_assert(sizeof(GUID) == sizeof(util::Guid), "both are the Windows GUID layout");
    GUID result;
    std::memcpy(&result, &guid, sizeof result);
    return result;
}

bool retryCannotHelp(DWORD error) {
    switch (error) {
    case ERROR_INVALID_FUNCTION:     // not a kernel-streaming device
    case ERROR_DEV_NOT_EXIST:        // unplugged
    case ERROR_DEVICE_NOT_CONNECTED: // unplugged
    case ERROR_NOT_FOUND:            // no such control
    case ERROR_SET_NOT_FOUND:        // no such unit on the node
    case ERROR_TIMEOUT:              // wedged
        return true;
    default:
        return false;
    }
}

// The driver's refusal of a buffer that is too short carries the size it needs.
bool isSizeAnswer(DWORD error) {
    return error == ERROR_MORE_DATA || error == ERROR_INSUFFICIENT_BUFFER;
}

std::string controlName(std::uint8_t selector) {
    return "XU control " + std::to_string(selector);
}

KSP_NODE nodeProperty(const GUID& set, ULONG id, ULONG flags, ULONG nodeId) {
    KSP_NODE request{};
    request.Property.Set = set;
    request.Property.Id = id;
    request.Property.Flags = flags | KSPROPERTY_TYPE_TOPOLOGY;
    request.NodeId = nodeId;
    return request;
}

template <typename Request>
DWORD sendProperty(IKsFilter& filter, Request request, void* data, std::uint64_t size,
                   DWORD* returned) {
    if (size > MAXDWORD) {
        // The request's size is 32 bits: anything longer would go out cut short.
        *returned = 0;
        return ERROR_INVALID_PARAMETER;
    }
    return filter.ioControl(IOCTL_KS_PROPERTY, &request, sizeof request, data,
                            static_cast<DWORD>(size), returned);
}

} // namespace

struct Win32UvcDevice::Private {
    std::unique_ptr<IKsFilter> filter;
    Identity identity;
    std::map<util::Guid, std::uint32_t> units;

    DWORD controlLength(const GUID& unit, ULONG nodeId, std::uint8_t selector);
    void read(const GUID& unit, ULONG nodeId, std::uint8_t selector,
              std::vector<std::uint8_t>& data);
    void write(const GUID& unit, ULONG nodeId, std::uint8_t selector,
               const std::vector<std::uint8_t>& data);
};

DWORD Win32UvcDevice::Private::controlLength(const GUID& unit, ULONG nodeId,
                                             std::uint8_t selector) {
    const auto clock = util::currentClock();
    const auto deadline = clock->now() + kSizeQueryBudgetMs;
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kSizeQueryAttempts; ++attempt) {
        DWORD needed = 0;
        error = sendProperty(*filter, nodeProperty(unit, selector, KSPROPERTY_TYPE_GET, nodeId),
                             nullptr, 0, &needed);
        if (isSizeAnswer(error)) {
            error = ERROR_SUCCESS;
        }
        if (error == ERROR_SUCCESS) {
            if (needed > 0) {
                return needed;
            }
        } else if (retryCannotHelp(error)) {
            break;
        }
        if (clock->now() + kSizeQueryRetryMs > deadline) {
            break;
        }
        clock->sleepFor(kSizeQueryRetryMs);
    }
    if (error != ERROR_SUCCESS) {
        throw util::WinException(error, "Failed to determine size of " + controlName(selector));
    }
    return 0;
}

void Win32UvcDevice::Private::read(const GUID& unit, ULONG nodeId, std::uint8_t selector,
                                   std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> bytes(controlLength(unit, nodeId, selector));
    if (!bytes.empty()) {
        DWORD returned = 0;
        const DWORD error =
            sendProperty(*filter, nodeProperty(unit, selector, KSPROPERTY_TYPE_GET, nodeId),
                         bytes.data(), bytes.size(), &returned);
        if (error != ERROR_SUCCESS) {
            throw util::WinException(error, "Failed to read " + controlName(selector));
        }
        bytes.resize(std::min<std::size_t>(returned, bytes.size()));
    }
    data = std::move(bytes);
}

void Win32UvcDevice::Private::write(const GUID& unit, ULONG nodeId, std::uint8_t selector,
                                    const std::vector<std::uint8_t>& data) {
    // A property's value travels in the output buffer for a set too; the driver only reads it.
    std::vector<std::uint8_t> bytes = data;
    DWORD returned = 0;
    const DWORD error =
        sendProperty(*filter, nodeProperty(unit, selector, KSPROPERTY_TYPE_SET, nodeId),
                     bytes.data(), bytes.size(), &returned);
    if (error != ERROR_SUCCESS) {
        throw util::WinException(error, "Failed to write " + controlName(selector));
    }
}

Win32UvcDevice::Win32UvcDevice(std::unique_ptr<IKsFilter> filter, Identity identity,
                               std::map<util::Guid, std::uint32_t> units)
    : d(std::make_unique<Private>()) {
    d->filter = std::move(filter);
    d->identity = std::move(identity);
    d->units = std::move(units);
}

Win32UvcDevice::~Win32UvcDevice() = default;

std::pair<std::uint16_t, std::uint16_t> Win32UvcDevice::usbIds() const {
    return {d->identity.vendorId, d->identity.productId};
}

const std::string& Win32UvcDevice::devicePath() const {
    return d->identity.devicePath;
}

const std::string& Win32UvcDevice::friendlyName() const {
    return d->identity.friendlyName;
}

UvcResult Win32UvcDevice::readXu(const util::Guid& unit, std::uint8_t selector,
                                 std::vector<std::uint8_t>& data) {
    return requestOnUnit(d->units, unit,
                         [&](std::uint32_t node) { d->read(toGuid(unit), node, selector, data); });
}

UvcResult Win32UvcDevice::writeXu(const util::Guid& unit, std::uint8_t selector,
                                  const std::vector<std::uint8_t>& data) {
    return requestOnUnit(d->units, unit,
                         [&](std::uint32_t node) { d->write(toGuid(unit), node, selector, data); });
}

std::map<util::Guid, std::uint32_t> findExtensionUnitNodes(IKsFilter& filter,
                                                           const std::vector<util::Guid>& units) {
    KSPROPERTY nodes{};
    nodes.Set = kTopologySet;
    nodes.Id = KSPROPERTY_TOPOLOGY_NODES;
    nodes.Flags = KSPROPERTY_TYPE_GET;
    DWORD needed = 0;
    DWORD error = sendProperty(filter, nodes, nullptr, 0, &needed);
    if (error != ERROR_SUCCESS && !isSizeAnswer(error)) {
        throw util::WinException(error, "Failed to read the device's topology");
    }
    std::vector<std::uint8_t> reply(std::max<std::size_t>(needed, sizeof(KSMULTIPLE_ITEM)));
    DWORD returned = 0;
    error = sendProperty(filter, nodes, reply.data(), reply.size(), &returned);
    if (error != ERROR_SUCCESS) {
        throw util::WinException(error, "Failed to read the device's topology");
    }
    // A list of node types: a KSMULTIPLE_ITEM header, then one GUID per node in node-id order.
    KSMULTIPLE_ITEM header{};
    std::memcpy(&header, reply.data(), sizeof header);
    const std::size_t answered = std::min<std::size_t>(returned, reply.size());
    const std::size_t listed =
        answered > sizeof header ? (answered - sizeof header) / sizeof(GUID) : 0;
    const std::size_t count = std::min<std::size_t>(header.Count, listed);

    std::map<util::Guid, std::uint32_t> found;
    for (std::size_t node = 0; node < count; ++node) {
        GUID type;
        std::memcpy(&type, reply.data() + sizeof header + node * sizeof(GUID), sizeof type);
        if (!IsEqualGUID(type, kVendorSpecificNode)) {
            continue;
        }
        const auto nodeId = static_cast<ULONG>(node);
        for (const auto& unit : units) {
            if (found.count(unit) != 0) {
                continue;
            }
            DWORD ignored = 0;
            const auto support = nodeProperty(toGuid(unit), 0, KSPROPERTY_TYPE_SETSUPPORT, nodeId);
            if (sendProperty(filter, support, nullptr, 0, &ignored) == ERROR_SUCCESS) {
                found[unit] = nodeId;
            }
        }
    }
    return found;
}

} // namespace quendral::uvc
