#pragma once

#include "util/iclock.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace quendral::test {

// Virtual time: every sleep returns at once and moves the clock on.
class FakeClock final : public util::IClock {
public:
    TimePoint now() const override { return TimePoint(std::chrono::milliseconds(m_nowMs)); }
    void sleepFor(std::chrono::milliseconds duration) override {
        m_nowMs += duration.count();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_sleeps.push_back(duration.count());
        }
        std::this_thread::yield();
    }

    long long nowMs() const { return m_nowMs; }
    std::vector<long long> sleeps() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sleeps;
    }
    long countSleeps(long long durationMs) const {
        const auto all = sleeps();
        return std::count(all.begin(), all.end(), durationMs);
    }

private:
    std::atomic<long long> m_nowMs{0};
    mutable std::mutex m_mutex;
    std::vector<long long> m_sleeps;
};

} // namespace quendral::test
