#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace quendral::util {

// A system failure: the platform error code with a readable message (see formatError).
class WinException : public std::exception {
public:
    WinException(std::uint32_t code, std::string context);

    const char* what() const noexcept override;
    std::uint32_t code() const noexcept { return m_code; }
    const std::string& context() const noexcept { return m_context; }

private:
    std::uint32_t m_code;
    std::string m_context;
    std::string m_message;
};

} // namespace quendral::util
