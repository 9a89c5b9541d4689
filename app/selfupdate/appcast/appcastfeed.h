#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

namespace appcast {

// One release offered by an appcast: an RSS item, usually with an enclosure.
struct AppcastItem {
    QString title;
    // Compared with the program's build version.
    QString version;
    // Shown to the user; the version when the feed gives none.
    QString shortVersion;
    QString description;
    // The description is text to show as it stands, not HTML.
    bool descriptionIsPlainText = false;
    // The notes in the user's language where the feed has them.
    QUrl releaseNotesUrl;
    QUrl fullReleaseNotesUrl;
    // The item's web page; an informational release sends the user there.
    QUrl link;
    QUrl fileUrl;
    // Bytes of the enclosure as announced; 0 when the feed does not say.
    qint64 length = 0;
    QString dsaSignature;
    QString edSignature;
    // Empty when the feed does not say.
    QString os;
    // Empty for the default channel, which everybody follows.
    QString channel;
    QString minimumSystemVersion;
    QString maximumSystemVersion;
    bool critical = false;
    // Critical only for installs older than this one; empty: for every install.
    QString criticalBelowVersion;
    bool informational = false;
    // Informational only for installs older than one of these; empty: for every install.
    QStringList informationalBelowVersions;
    // Seconds between one rollout group and the next; 0: everybody at once.
    qint64 phasedRolloutIntervalSeconds = 0;
    QDateTime published;

    bool isCriticalFor(const QString& installedVersion) const;
    bool isInformationalFor(const QString& installedVersion) const;
};

// Where a feed came from and for whom it is read.
struct FeedSource {
    // Relative links of the feed are resolved against it.
    QUrl url;
    // The user's language, as in de_DE: picks among release notes links by xml:lang.
    QString lang;
};

// Reads an appcast: RSS 2.0 with the appcast elements of the item (current feeds) or attributes
// of the enclosure (older feeds); where both are given, the element wins. Appcast names are
// taken from any namespace, which feeds agree on by prefix rather than by address. Items without
// a version, or without an enclosure unless they are informational, are left out; text that is
// not well-formed XML or not an RSS channel gives nothing and the reason in `error`.
std::optional<QList<AppcastItem>> parseAppcast(const QByteArray& xml, const FeedSource& source,
                                               QString* error);

// Rollout groups: a release with a phased rollout reaches group g after g intervals.
constexpr int kRolloutGroups = 7;

// The installation a feed is read for.
struct Audience {
    QString installedVersion;
    // The distribution's version (VERSION_ID of os-release); empty when unknown, which keeps no
    // release out.
    QString systemVersion;
    // Channels followed beside the default one.
    QStringList channels;
    int rolloutGroup = 0;
    QDateTime now;
    // A check the user asked for is not held back by a phased rollout.
    bool userAsked = false;
    // Which signatures this program can check.
    bool checksDsa = false;
    bool checksEd = false;
};

// Why a release is offered or not.
enum class Verdict {
    Offered,
    NotNewer,
    OtherChannel,
    OtherSystem,
    SystemTooOld,
    SystemTooNew,
    NotRolledOutYet,
    NoCheckableSignature,
};

Verdict judge(const AppcastItem& item, const Audience& audience);

// The newest release offered to the audience, if any.
std::optional<AppcastItem> newestUpdate(const QList<AppcastItem>& items, const Audience& audience);

} // namespace appcast
