#include "extensionunit.h"

#include "firmwareimage.h"

#include <cerrno>

namespace quendral::emulator {

namespace {

using Bytes = std::vector<std::uint8_t>;

bool startsWith(const Bytes& data, std::initializer_list<std::uint8_t> prefix) {
    if (data.size() < prefix.size()) {
        return false;
    }
    std::size_t i = 0;
    for (const auto byte : prefix) {
        if (data[i++] != byte) {
            return false;
        }
    }
    return true;
}

XuOutcome failure(int code) {
    return XuOutcome{code, {}, XuEffect::None};
}

} // namespace

XuOutcome ExtensionUnit::length(std::uint8_t selector) const {
    std::size_t size = 0;
    switch (selector) {
    case kCommandSelector:
    case kResponseSelector:
    case kUpdateControlSelector:
    case kUpdateStatusSelector:
        size = kRegisterBytes;
        break;
    case kDataSelector:
        size = kDataBlockBytes;
        break;
    default:
        return failure(EINVAL);
    }
    return XuOutcome{0, {static_cast<std::uint8_t>(size), 0}, XuEffect::None};
}

XuOutcome ExtensionUnit::get(std::uint8_t selector, TimePoint now, const FaultPlan& faults) {
    Bytes reply;
    if (selector == kResponseSelector) {
        reply = response_;
    } else if (selector == kUpdateStatusSelector) {
        reply.assign(kRegisterBytes, 0);
        reply[0] = status(now, faults);
    } else {
        // The other registers only take writes; a real unit stalls such a request.
        return failure(EINVAL);
    }
    if (faults.xuReadFault != ReadFault::None &&
        (faults.xuReadSelector == 0 || faults.xuReadSelector == selector)) {
        if (faults.xuReadFault == ReadFault::Error) {
            return failure(EIO);
        }
        reply.resize(reply.size() / 2);
    }
    return XuOutcome{0, std::move(reply), XuEffect::None};
}

XuOutcome ExtensionUnit::set(std::uint8_t selector, const Bytes& data, TimePoint now,
                             const FaultPlan& faults, const UnitContext& context) {
    switch (selector) {
    case kCommandSelector:
        return data.size() == kRegisterBytes ? command(data, faults, context) : failure(EINVAL);
    case kDataSelector:
        return data.size() == kDataBlockBytes ? dataBlock(data, faults) : failure(EINVAL);
    case kUpdateControlSelector:
        return data.size() == kRegisterBytes ? updateControl(data, now, faults, context)
                                             : failure(EINVAL);
    default:
        return failure(EINVAL);
    }
}

XuOutcome ExtensionUnit::command(const Bytes& data, const FaultPlan& faults,
                                 const UnitContext& context) {
    response_.assign(kRegisterBytes, 0);
    if (startsWith(data, {0x0B})) {
        const auto build = context.version.build % 100;
        response_[2] = static_cast<std::uint8_t>(context.version.major / 10);
        response_[3] = static_cast<std::uint8_t>(context.version.major % 10);
        response_[4] = static_cast<std::uint8_t>(context.version.minor / 10);
        response_[5] = static_cast<std::uint8_t>(context.version.minor % 10);
        response_[6] = static_cast<std::uint8_t>(build / 10);
        response_[7] = static_cast<std::uint8_t>(build % 10);
    } else if (startsWith(data, {0x7F, 0x0C})) {
        response_[1] = context.usbMode == 2 ? 0x01 : 0x00;
    } else if (startsWith(data, {0xFF, 0x0D, 0x01})) {
        return XuOutcome{0, {}, context.usbMode == 2 ? XuEffect::None : XuEffect::EnterUsb2};
    } else if (startsWith(data, {0xFF, 0x0D, 0x00})) {
        return XuOutcome{0, {}, context.usbMode == 3 ? XuEffect::None : XuEffect::EnterUsb3};
    } else if (startsWith(data, {0x7F, 0x0B})) {
        if (faults.vanishStep == VanishStep::Closing) {
            return XuOutcome{ENODEV, {}, XuEffect::Vanish};
        }
        // The closing command restarts the chip into the new image; without a finished
        // update there is nothing to restart into.
        if (flashed_) {
            return XuOutcome{0, {}, XuEffect::InstallFirmware};
        }
    }
    return XuOutcome{};
}

XuOutcome ExtensionUnit::dataBlock(const Bytes& data, const FaultPlan& faults) {
    if (phase_ != Phase::Receiving) {
        return failure(EPROTO);
    }
    ++dataWrites_;
    if (faults.vanishStep == VanishStep::DataWrite && faults.vanishDataWrite == dataWrites_) {
        return XuOutcome{ENODEV, {}, XuEffect::Vanish};
    }
    if (faults.failDataWrite == dataWrites_) {
        return failure(EIO);
    }
    if (image_.size() + data.size() > kMaxImageBytes) {
        return failure(EFBIG);
    }
    image_.insert(image_.end(), data.begin(), data.end());
    return XuOutcome{};
}

XuOutcome ExtensionUnit::updateControl(const Bytes& data, TimePoint now, const FaultPlan& faults,
                                       const UnitContext& context) {
    if (startsWith(data, {0x01, 0x00, 0x03})) {
        if (faults.vanishStep == VanishStep::Initiation) {
            return XuOutcome{ENODEV, {}, XuEffect::Vanish};
        }
        // A finalization that ended while nobody asked is over before the new transfer
        // starts; one still writing the last image to flash leaves the request unanswered, and
        // the status read that follows says busy, which the host takes as a refusal.
        if (phase_ == Phase::Finalizing) {
            status(now, faults);
        }
        if (phase_ == Phase::Finalizing) {
            return XuOutcome{};
        }
        if (faults.refuseInitiation) {
            phase_ = Phase::Idle;
            idleStatus_ = kStatusRefused;
            return XuOutcome{};
        }
        phase_ = Phase::Receiving;
        image_.clear();
        dataWrites_ = 0;
        return XuOutcome{};
    }
    if (startsWith(data, {0x01, 0x01, 0x03})) {
        if (faults.vanishStep == VanishStep::Finalization) {
            return XuOutcome{ENODEV, {}, XuEffect::Vanish};
        }
        if (phase_ == Phase::Receiving) {
            phase_ = Phase::Finalizing;
            finalizeDone_ = now + context.finalizeBusy;
        } else if (phase_ != Phase::Finalizing) {
            phase_ = Phase::Finished;
            finishedStatus_ = kStatusFailed;
        }
        return XuOutcome{};
    }
    return failure(EINVAL);
}

std::uint8_t ExtensionUnit::status(TimePoint now, const FaultPlan& faults) {
    switch (phase_) {
    case Phase::Idle:
        return idleStatus_;
    case Phase::Receiving:
        return kStatusOk;
    case Phase::Finalizing: {
        if (faults.busyForever || now < finalizeDone_) {
            return kStatusBusy;
        }
        const auto version = FirmwareImage::carriedVersion(image_);
        phase_ = Phase::Finished;
        if (version && !faults.failFinalization) {
            finishedStatus_ = kStatusOk;
            flashed_ = version;
        } else {
            finishedStatus_ = kStatusFailed;
        }
        return finishedStatus_;
    }
    case Phase::Finished:
        return finishedStatus_;
    }
    return kStatusFailed;
}

void ExtensionUnit::reset() {
    const auto flashed = flashed_;
    *this = ExtensionUnit{};
    flashed_ = flashed;
}

std::optional<FirmwareVersion> ExtensionUnit::takeFlashedVersion() {
    auto version = flashed_;
    flashed_.reset();
    return version;
}

} // namespace quendral::emulator
