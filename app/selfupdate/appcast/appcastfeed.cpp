#include "appcastfeed.h"

#include "versioncompare.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace appcast {

namespace {

// The system name appcasts use for items built for this one.
const QString kThisSystem = QStringLiteral("linux");

// An appcast attribute such as version or dsaSignature, from whatever namespace the feed gave
// its prefix.
QString appcastAttribute(const QXmlStreamAttributes& attributes, QLatin1String name) {
    for (const QXmlStreamAttribute& attribute : attributes) {
        if (!attribute.namespaceUri().isEmpty() && attribute.name() == name)
            return attribute.value().toString().trimmed();
    }
    return {};
}

bool isPlainTextFormat(const QString& format) {
    return format == QLatin1String("plain-text") || format == QLatin1String("plain") ||
           format == QLatin1String("markdown");
}

// The language part of de_DE or de-DE.
QString language(const QString& lang) {
    return lang.section(QRegularExpression(QStringLiteral("[_-]")), 0, 0).toLower();
}

// What an <item> says, element and enclosure forms apart until the item is complete.
class ItemReader {
public:
    ItemReader(QXmlStreamReader& reader, const FeedSource& source)
        : reader_(reader)
        , source_(source) {}

    AppcastItem read() {
        while (reader_.readNextStartElement()) {
            if (reader_.namespaceUri().isEmpty())
                readRssElement();
            else
                readAppcastElement();
        }
        complete();
        return item_;
    }

private:
    QString text() {
        return reader_.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
    QUrl url(const QString& text) const { return source_.url.resolved(QUrl(text)); }

    void readRssElement() {
        const QStringRef name = reader_.name();
        if (name == QLatin1String("enclosure")) {
            readEnclosure(reader_.attributes());
            reader_.skipCurrentElement();
        } else if (name == QLatin1String("title")) {
            item_.title = text();
        } else if (name == QLatin1String("link")) {
            item_.link = url(text());
        } else if (name == QLatin1String("description")) {
            item_.descriptionIsPlainText =
                isPlainTextFormat(appcastAttribute(reader_.attributes(), QLatin1String("format")));
            item_.description = text();
        } else if (name == QLatin1String("pubDate")) {
            item_.published = QDateTime::fromString(text(), Qt::RFC2822Date);
        } else {
            reader_.skipCurrentElement();
        }
    }

    void readAppcastElement() {
        const QString name = reader_.name().toString();
        if (name == QLatin1String("version")) {
            item_.version = text();
        } else if (name == QLatin1String("shortVersionString")) {
            item_.shortVersion = text();
        } else if (name == QLatin1String("minimumSystemVersion")) {
            item_.minimumSystemVersion = text();
        } else if (name == QLatin1String("maximumSystemVersion")) {
            item_.maximumSystemVersion = text();
        } else if (name == QLatin1String("channel")) {
            item_.channel = text();
        } else if (name == QLatin1String("phasedRolloutInterval")) {
            item_.phasedRolloutIntervalSeconds = std::max<qint64>(text().toLongLong(), 0);
        } else if (name == QLatin1String("releaseNotesLink")) {
            const QString lang = reader_.attributes().value(QLatin1String("xml:lang")).toString();
            const QUrl link = url(text());
            notesLinks_.append({language(lang), link});
        } else if (name == QLatin1String("fullReleaseNotesLink")) {
            item_.fullReleaseNotesUrl = url(text());
        } else if (name == QLatin1String("criticalUpdate")) {
            item_.critical = true;
            item_.criticalBelowVersion =
                appcastAttribute(reader_.attributes(), QLatin1String("version"));
            reader_.skipCurrentElement();
        } else if (name == QLatin1String("informationalUpdate")) {
            item_.informational = true;
            while (reader_.readNextStartElement()) {
                if (reader_.name() == QLatin1String("belowVersion"))
                    item_.informationalBelowVersions << text();
                else
                    reader_.skipCurrentElement();
            }
        } else {
            // minimumAutoupdateVersion among others: it only holds back installs made without
            // asking the user, which this framework never makes.
            reader_.skipCurrentElement();
        }
    }

    void readEnclosure(const QXmlStreamAttributes& attributes) {
        item_.fileUrl = url(attributes.value(QLatin1String("url")).toString().trimmed());
        enclosureVersion_ = appcastAttribute(attributes, QLatin1String("version"));
        enclosureShortVersion_ = appcastAttribute(attributes, QLatin1String("shortVersionString"));
        item_.dsaSignature = appcastAttribute(attributes, QLatin1String("dsaSignature"));
        item_.edSignature = appcastAttribute(attributes, QLatin1String("edSignature"));
        item_.os = appcastAttribute(attributes, QLatin1String("os"));
        bool ok = false;
        const qint64 length = attributes.value(QLatin1String("length")).toLongLong(&ok);
        item_.length = ok && length > 0 ? length : 0;
    }

    void complete() {
        if (item_.version.isEmpty())
            item_.version = enclosureVersion_;
        if (item_.shortVersion.isEmpty())
            item_.shortVersion = enclosureShortVersion_;
        if (item_.shortVersion.isEmpty())
            item_.shortVersion = item_.version;
        const QString wanted = language(source_.lang);
        for (const QString& preference : {wanted, QString()}) {
            for (const auto& [lang, link] : notesLinks_) {
                if (item_.releaseNotesUrl.isEmpty() && lang == preference)
                    item_.releaseNotesUrl = link;
            }
        }
        if (item_.releaseNotesUrl.isEmpty() && !notesLinks_.isEmpty())
            item_.releaseNotesUrl = notesLinks_.front().second;
    }

    QXmlStreamReader& reader_;
    const FeedSource& source_;
    AppcastItem item_;
    QString enclosureVersion_;
    QString enclosureShortVersion_;
    QList<QPair<QString, QUrl>> notesLinks_;
};

bool belowAny(const QString& version, const QStringList& limits) {
    for (const QString& limit : limits) {
        if (compareVersions(version, limit) < 0)
            return true;
    }
    return false;
}

} // namespace

bool AppcastItem::isCriticalFor(const QString& installedVersion) const {
    return critical && (criticalBelowVersion.isEmpty() ||
                        compareVersions(installedVersion, criticalBelowVersion) < 0);
}

bool AppcastItem::isInformationalFor(const QString& installedVersion) const {
    return informational && (informationalBelowVersions.isEmpty() ||
                             belowAny(installedVersion, informationalBelowVersions));
}

std::optional<QList<AppcastItem>> parseAppcast(const QByteArray& xml, const FeedSource& source,
                                               QString* error) {
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
                const AppcastItem item = ItemReader(reader, source).read();
                const bool hasFile = item.fileUrl.isValid() && !item.fileUrl.isEmpty();
                if (!item.version.isEmpty() && (hasFile || item.informational))
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

Verdict judge(const AppcastItem& item, const Audience& audience) {
    if (compareVersions(item.version, audience.installedVersion) <= 0)
        return Verdict::NotNewer;
    if (!item.channel.isEmpty() && !audience.channels.contains(item.channel))
        return Verdict::OtherChannel;
    // A feed may serve several systems; without a word on the system, only a Debian package is
    // taken for one of ours.
    const bool hasFile = !item.fileUrl.isEmpty();
    if (!item.os.isEmpty()
            ? item.os.compare(kThisSystem, Qt::CaseInsensitive) != 0
            : hasFile && !item.fileUrl.path().endsWith(QLatin1String(".deb"), Qt::CaseInsensitive))
        return Verdict::OtherSystem;
    if (!audience.systemVersion.isEmpty()) {
        if (!item.minimumSystemVersion.isEmpty() &&
            compareVersions(audience.systemVersion, item.minimumSystemVersion) < 0)
            return Verdict::SystemTooOld;
        if (!item.maximumSystemVersion.isEmpty() &&
            compareVersions(audience.systemVersion, item.maximumSystemVersion) > 0)
            return Verdict::SystemTooNew;
    }
    const bool informational = item.isInformationalFor(audience.installedVersion);
    if (!informational && !(audience.checksDsa && !item.dsaSignature.isEmpty()) &&
        !(audience.checksEd && !item.edSignature.isEmpty()))
        return Verdict::NoCheckableSignature;
    if (!audience.userAsked && !item.isCriticalFor(audience.installedVersion) &&
        item.phasedRolloutIntervalSeconds > 0 && item.published.isValid() &&
        audience.now <
            item.published.addSecs(item.phasedRolloutIntervalSeconds * audience.rolloutGroup))
        return Verdict::NotRolledOutYet;
    return Verdict::Offered;
}

std::optional<AppcastItem> newestUpdate(const QList<AppcastItem>& items, const Audience& audience) {
    std::optional<AppcastItem> best;
    for (const AppcastItem& item : items) {
        if (judge(item, audience) != Verdict::Offered)
            continue;
        if (!best || compareVersions(item.version, best->version) > 0)
            best = item;
    }
    return best;
}

} // namespace appcast
