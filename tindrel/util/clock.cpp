#include "util/iclock.h"

#include <mutex>
#include <thread>

namespace quendral::util {

namespace {

class SteadyClock final : public IClock {
public:
    TimePoint now() const override { return std::chrono::steady_clock::now(); }
    void sleepFor(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};

std::mutex& clockMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<IClock>& installedClock() {
    static std::shared_ptr<IClock> clock;
    return clock;
}

} // namespace

void setClock(std::shared_ptr<IClock> clock) {
    std::lock_guard<std::mutex> lock(clockMutex());
    installedClock() = std::move(clock);
}

std::shared_ptr<IClock> currentClock() {
    std::lock_guard<std::mutex> lock(clockMutex());
    if (!installedClock()) {
        installedClock() = std::make_shared<SteadyClock>();
    }
    return installedClock();
}

} // namespace quendral::util
