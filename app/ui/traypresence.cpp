#include "traypresence.h"

#include "platform/desktoptray.h"

#include <chrono>

namespace {

// Quick enough that a window appears soon after its panel went, rare enough to cost nothing.
constexpr std::chrono::seconds kRecheckInterval{3};

} // namespace

TrayPresence::TrayPresence(Probe probe, QObject* parent)
    : QObject(parent)
    , probe_(probe ? std::move(probe) : Probe(&platform::desktopHasTray))
    , available_(probe_()) {
    connect(&timer_, &QTimer::timeout, this, &TrayPresence::recheck);
    timer_.start(kRecheckInterval);
}

TrayPresence::~TrayPresence() = default;

void TrayPresence::recheck() {
    const bool available = probe_();
    if (available == available_)
        return;
    available_ = available;
    emit availabilityChanged(available_);
}
