#pragma once

#include "common/ilogger.h"

#include <atomic>
#include <vector>

namespace quendral::fwupdate::controller {

// Fans messages out to sinks, in registration order, unchanged. Sinks are added and removed
// only while nothing logs.
class Logger final : public util::ILogger {
public:
    void addSink(std::shared_ptr<util::ILogSink> sink) override;
    void removeSink(const std::shared_ptr<util::ILogSink>& sink) override;
    void setLevel(int maxLevel) override;
    void log(int level, const std::string& message) override;

private:
    std::vector<std::shared_ptr<util::ILogSink>> m_sinks;
    std::atomic<int> m_maxLevel{util::LogLevel::Debug};
};

} // namespace quendral::fwupdate::controller
