#pragma once

#include "common/ilogsink.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace quendral::test {

class RecordingSink final : public util::ILogSink {
public:
    void write(int level, const std::string& message) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.emplace_back(level, message);
    }

    std::vector<std::pair<int, std::string>> entries() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_entries;
    }
    // How many messages at `level` begin with `prefix` (a whole message is its own prefix).
    long count(int level, const std::string& prefix) const {
        const auto all = entries();
        return std::count_if(all.begin(), all.end(), [&](const auto& entry) {
            return entry.first == level && entry.second.rfind(prefix, 0) == 0;
        });
    }
    bool contains(int level, const std::string& prefix) const { return count(level, prefix) > 0; }

private:
    mutable std::mutex m_mutex;
    std::vector<std::pair<int, std::string>> m_entries;
};

} // namespace quendral::test
