#pragma once

#include "common/iimageprovider.h"

namespace quendral::fwupdate {

// An image held in memory. The bytes are copied at construction; the caller's buffer is not
// referenced afterwards. Built from a negative size, or from a null pointer with a non-zero
// size, it holds no image: it does not open and yields no data.
class BufferImageProvider final : public IImageProvider {
public:
    BufferImageProvider(const char* data, int size);

    bool open() override;
    void close() override;
    bool isOpen() const override;
    std::string description() const override;
    std::string location() const override;
    bool copyData(std::vector<std::uint8_t>& out) const override;
    std::vector<std::uint8_t> data() const override;
    bool setSource(const std::string& source) override;

private:
    std::vector<std::uint8_t> m_bytes;
    bool m_valid;
    bool m_open = false;
};

} // namespace quendral::fwupdate
