#pragma once

#include <string>

namespace quendral::util {

// Receives the library's log messages. Must not throw.
class ILogSink {
public:
    virtual ~ILogSink() = default;

    virtual void write(int level, const std::string& message) = 0;
};

} // namespace quendral::util
