#include "audioinputmatcher.h"

namespace {

QString normalised(QString name) {
    name.replace(QLatin1Char('_'), QLatin1Char(' ')).replace(QLatin1Char('-'), QLatin1Char(' '));
    return name.simplified().toCaseFolded();
}

} // namespace

AudioInputMatcher::AudioInputMatcher(const QString& osProductVersion) {
    QStringList names{QStringLiteral("Quendral Castwell"), QStringLiteral("Tessmoor Castwell")};
    if (osProductVersion.startsWith(QLatin1Char('7'))) {
        names << QStringLiteral("Quendral Cast") << QStringLiteral("Tessmoor Cast")
              << QStringLiteral("Castwell");
    }
    for (const QString& name : qAsConst(names))
        candidates_ << normalised(name);
}

bool AudioInputMatcher::matches(const QString& deviceName) const {
    const QString name = normalised(deviceName);
    for (const QString& candidate : candidates_) {
        if (name.contains(candidate))
            return true;
    }
    return false;
}
