#include "common/winexception.h"

#include "common/formaterror.h"

namespace quendral::util {

WinException::WinException(std::uint32_t code, std::string context)
    : m_code(code)
    , m_context(std::move(context))
    , m_message(formatError({m_code, m_context})) {}

const char* WinException::what() const noexcept {
    return m_message.c_str();
}

} // namespace quendral::util
