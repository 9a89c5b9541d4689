#include "common/bufferimageprovider.h"

namespace quendral::fwupdate {

namespace {
const char* const kDescription = "in-memory buffer";
}

BufferImageProvider::BufferImageProvider(const char* data, int size)
    : m_valid(size >= 0 && (data != nullptr || size == 0)) {
    if (m_valid && size > 0) {
        const auto* first = reinterpret_cast<const std::uint8_t*>(data);
        m_bytes.assign(first, first + size);
    }
}

bool BufferImageProvider::open() {
    m_open = m_valid;
    return m_open;
}

void BufferImageProvider::close() {
    m_open = false;
}

bool BufferImageProvider::isOpen() const {
    return m_open;
}

std::string BufferImageProvider::description() const {
    return kDescription;
}

std::string BufferImageProvider::location() const {
    return kDescription;
}

bool BufferImageProvider::copyData(std::vector<std::uint8_t>& out) const {
    if (!m_valid) {
        return false;
    }
    out = m_bytes;
    return true;
}

std::vector<std::uint8_t> BufferImageProvider::data() const {
    return m_bytes;
}

bool BufferImageProvider::setSource(const std::string&) {
    return true;
}

} // namespace quendral::fwupdate
