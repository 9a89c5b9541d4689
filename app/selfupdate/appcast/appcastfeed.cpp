#include "appcastfeed.h"

#include "versioncompare.h"

#include <QXmlStreamReader>

namespace appcast {

namespace {

// The system name appcasts use for items built for this one.
const QString kThisSystem = QStringLiteral("linux");

// An appcast attribute such as version or dsaSignature: it lives in the feed's own namespace,
// which appcasts agree on by prefix rather than by address.
QString appcastAttribute(const QXmlStreamAttributes& attributes, QLatin1String name) {
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (!attribute.namespaceUri().isEmpty() && attribute.name() == name)
            return attribute.value().toString().trimmed();
    }
    return {};
}

void readEnclosure(const QXmlStreamAttributes& attributes, AppcastItem* item) {
    item->fileUrl = QUrl(attributes.value(QLatin1String("url")).toString().trimmed());
    item->version = appcastAttribute(attributes, QLatin1String("version"));
    item->shortVersion = appcastAttribute(attributes, QLatin1String("shortVersionString"));
    item->dsaSignature = appcastAttribute(attributes, QLatin1String("dsaSignature"));
    item->os = appcastAttribute(attributes, QLatin1String("os"));
    bool ok = false;
    const qint64 length = attributes.value(QLatin1String("length")).toLongLong(&ok);
    item->length = ok && length > 0 ? length : 0;
}

// Reads one <item>; the reader stands on its start element.
AppcastItem readItem(QXmlStreamReader& reader) {
    AppcastItem item;
    while (reader.readNextStartElement()) {
        const QStringRef name = reader.name();
        if (name == QLatin1String("enclosure")) {
            readEnclosure(reader.attributes(), &item);
            reader.skipCurrentElement();
        } else if (name == QLatin1String("title") && reader.namespaceUri().isEmpty()) {
            item.title = reader.readElementText().trimmed();
        } else if (name == QLatin1String("description") && reader.namespaceUri().isEmpty()) {
            item.description = reader.readElementText().trimmed();
        } else if (name == QLatin1String("releaseNotesLink")) {
            item.releaseNotesUrl = QUrl(reader.readElementText().trimmed());
        } else {
            reader.skipCurrentElement();
        }
    }
    if (item.shortVersion.isEmpty())
        item.shortVersion = item.version;
    return item;
}

} // namespace

std::optional<QList<AppcastItem>> parseAppcast(const QByteArray& xml, QString* error) {
    QXmlStreamReader reader(xml);
    QList<AppcastItem> items;
    bool sawChannel = false;
    if (reader.readNextStartElement() && reader.name() == QLatin1String("rss")) {
        while (reader.readNextStartElement()) {
            if (reader.name() != QLatin1String("channel")) {
                reader.skipCurrentElement();
                continue;
            }
            sawChannel = true;
            while (reader.readNextStartElement()) {
                if (reader.name() != QLatin1String("item")) {
                    reader.skipCurrentElement();
                    continue;
                }
                AppcastItem item = readItem(reader);
                if (item.fileUrl.isValid() && !item.fileUrl.isEmpty() && !item.version.isEmpty())
                    items.append(item);
            }
        }
    }
    // Reading on to the end also catches damage after the last item.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError() || !sawChannel) {
        if (error)
            *error =
                reader.hasError() ? reader.errorString() : QStringLiteral("not an RSS channel");
        return std::nullopt;
    }
    return items;
}

std::optional<AppcastItem> newestUpdate(const QList<AppcastItem>& items,
                                        const QString& currentVersion) {
    std::optional<AppcastItem> best;
    for (const AppcastItem& item : items) {
        if (!item.os.isEmpty() && item.os.compare(kThisSystem, Qt::CaseInsensitive) != 0)
            continue;
        if (compareVersions(item.version, currentVersion) <= 0)
            continue;
        if (!best || compareVersions(item.version, best->version) > 0)
            best = item;
    }
    return best;
}

} // namespace appcast
