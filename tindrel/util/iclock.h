#pragma once

#include <chrono>
#include <memory>

namespace quendral::util {

// Every pause and time-out of the library goes through one clock, so that tests and emulated
// devices can run the real algorithms on virtual time.
class IClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~IClock() = default;

    virtual TimePoint now() const = 0;
    virtual void sleepFor(std::chrono::milliseconds duration) = 0;
};

// Installs the process-wide clock; null restores the steady clock with real sleeps.
void setClock(std::shared_ptr<IClock> clock);
std::shared_ptr<IClock> currentClock();

} // namespace quendral::util
