#pragma once

namespace quendral::fw::backend {

// The device's USB-mode commands. Device failures are not reported: a failed switch goes
// unnoticed and a failed query counts as USB 3.
class ISpecialFunctions {
public:
    virtual ~ISpecialFunctions() = default;

    virtual void switchToUsb3() = 0;
    virtual void switchToUsb2() = 0;
    virtual bool isUsb3() = 0;
};

} // namespace quendral::fw::backend
