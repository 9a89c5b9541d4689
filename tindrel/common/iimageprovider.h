#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quendral::fwupdate {

// The source of one firmware image.
class IImageProvider {
public:
    virtual ~IImageProvider() = default;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual std::string description() const = 0;
    virtual std::string location() const = 0;
    // Replaces `out` with the image bytes; false when they cannot be had.
    virtual bool copyData(std::vector<std::uint8_t>& out) const = 0;
    virtual std::vector<std::uint8_t> data() const = 0;
    virtual bool setSource(const std::string& source) = 0;
};

} // namespace quendral::fwupdate
