// The program's update feed as the update server sends it.
#include "appcastfeed.h"
#include "versioncompare.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray xml(reinterpret_cast<const char*>(data), static_cast<int>(size));
    QString error;
    const auto items = appcast::parseAppcast(
        xml, {QUrl(QStringLiteral("https://updates.example/feed.xml")), QStringLiteral("de_DE")},
        &error);
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
    appcast::Audience audience;
    audience.installedVersion = QStringLiteral("1.0.69");
    audience.systemVersion = QStringLiteral("12");
    audience.now = QDateTime::fromSecsSinceEpoch(1800000000, Qt::UTC);
    audience.checksDsa = audience.checksEd = true;
    (void)appcast::newestUpdate(*items, audience);
    return 0;
}
