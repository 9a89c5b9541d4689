// The program's update feed as the update server sends it.
#include "appcastfeed.h"
#include "versioncompare.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QString error;
    const auto items = appcast::parseAppcast(xml, &error);
    if (!items) {
        return 0;
    }
    for (const appcast::AppcastItem& a : *items) {
        for (const appcast::AppcastItem& b : *items) {
            // An order: antisymmetric.
            if (appcast::compareVersions(a.version, b.version) !=
                -appcast::compareVersions(b.version, a.version)) {
                __builtin_trap();
            }
        }
    }
    (void)appcast::newestUpdate(*items, QStringLiteral("1.0.69"));
    return 0;
}
