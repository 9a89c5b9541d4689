#pragma once

#include "util/ipnplistener.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace quendral::test {

// Records "+path" for arrivals and "-path" for removals, as a provider's thread delivers them.
class RecordingListener : public util::IPnpListener {
public:
    void deviceArrived(const std::string& devicePath) override { record("+" + devicePath); }
    void deviceRemoved(const std::string& devicePath) override { record("-" + devicePath); }

    bool waitForCount(std::size_t count,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [&] { return m_events.size() >= count; });
    }
    std::vector<std::string> events() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_events;
    }

    // Runs on the delivering thread before each event is recorded; set it before registering.
    std::function<void()> beforeRecord;

private:
    void record(const std::string& event) {
        if (beforeRecord) {
            beforeRecord();
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        m_events.push_back(event);
        m_changed.notify_all();
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::string> m_events;
};

} // namespace quendral::test
