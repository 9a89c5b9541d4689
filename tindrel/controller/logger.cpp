#include "controller/logger.h"

#include <algorithm>

namespace quendral::fwupdate::controller {

void Logger::addSink(std::shared_ptr<util::ILogSink> sink) {
    if (sink) {
        m_sinks.push_back(std::move(sink));
    }
}

void Logger::removeSink(const std::shared_ptr<util::ILogSink>& sink) {
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
}

void Logger::setLevel(int maxLevel) {
    m_maxLevel = maxLevel;
}

void Logger::log(int level, const std::string& message) {
    if (level > m_maxLevel) {
        return;
    }
    for (const auto& sink : m_sinks) {
        sink->write(level, message);
    }
}

} // namespace quendral::fwupdate::controller
