#pragma once

#include "common/ilogsink.h"

#include <memory>
#include <string>

namespace quendral::util {

// Log levels as the whole library uses them: a failed step, a refusal or retry, a milestone,
// a detail.
struct LogLevel {
    enum : int { Error = 1, Warning = 2, Info = 3, Debug = 4 };
};

class ILogger {
public:
    virtual ~ILogger() = default;

    virtual void addSink(std::shared_ptr<ILogSink> sink) = 0;
    virtual void removeSink(const std::shared_ptr<ILogSink>& sink) = 0;
    virtual void setLevel(int maxLevel) = 0;
    virtual void log(int level, const std::string& message) = 0;
};

} // namespace quendral::util
