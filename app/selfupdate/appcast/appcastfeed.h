#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace appcast {

// One release offered by an appcast: an RSS item with its enclosure.
struct AppcastItem {
    QString title;
    // Compared with the program's build version.
    QString version;
    // Shown to the user; the version when the feed gives none.
    QString shortVersion;
    QString description;
    QUrl releaseNotesUrl;
    QUrl fileUrl;
    // Bytes of the enclosure as announced; 0 when the feed does not say.
    qint64 length = 0;
    QString dsaSignature;
    // Empty when the item is meant for every system.
    QString os;
};

// Reads an appcast (RSS 2.0 with the appcast enclosure attributes, which are taken from any
// namespace). Items without an enclosure URL or version are left out; text that is not
// well-formed XML or not an RSS channel gives nothing and the reason in `error`.
std::optional<QList<AppcastItem>> parseAppcast(const QByteArray& xml, QString* error);

// The newest item for this system that is newer than `currentVersion`, if any.
std::optional<AppcastItem> newestUpdate(const QList<AppcastItem>& items,
                                        const QString& currentVersion);

} // namespace appcast
