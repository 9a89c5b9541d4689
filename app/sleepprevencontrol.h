#pragma once

#include "platform/sleepinhibitor.h"

#include <memory>

// Keeps the system awake and the screen on while anyone holds the object. There is at most one
// at a time: instance() hands out the current one or makes it, and it goes, lifting the
// inhibition, when its last holder lets go.
class SleepPrevenControl {
public:
    static std::shared_ptr<SleepPrevenControl> instance();
    ~SleepPrevenControl();

    SleepPrevenControl(const SleepPrevenControl&) = delete;
    SleepPrevenControl& operator=(const SleepPrevenControl&) = delete;

private:
    SleepPrevenControl();

    platform::SleepInhibitor inhibitor_;
};
