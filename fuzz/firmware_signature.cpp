// A firmware image and the signature text the update server sends beside it.
#include "fwchecker.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The signature text comes first, up to the first zero byte; the image is the rest.
    const auto* begin = reinterpret_cast<const char*>(data);
    const auto* zero = static_cast<const char*>(std::memchr(begin, 0, size));
    const std::size_t textLength = zero ? static_cast<std::size_t>(zero - begin) : size;
    const QByteArray signature(begin, static_cast<int>(textLength));
    const QByteArray image =
        zero ? QByteArray(zero + 1, static_cast<int>(size - textLength - 1)) : QByteArray();
    if (FWChecker::verify(image, signature)) {
        // Only the maker's key signs: no input can pass.
        __builtin_trap();
    }
    return 0;
}
