#include "updatesettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace appcast {

namespace {

const QString kCheckForUpdates = QStringLiteral("CheckForUpdates");
const QString kLastCheckTime = QStringLiteral("LastCheckTime");
const QString kSkipThisVersion = QStringLiteral("SkipThisVersion");

} // namespace

UpdateSettings::UpdateSettings(const QString& settingsPath)
    : settings_(std::make_unique<QSettings>(fileFor(settingsPath), QSettings::IniFormat)) {}

UpdateSettings::~UpdateSettings() = default;

QString UpdateSettings::fileFor(const QString& settingsPath) {
    QStringList parts = settingsPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (!parts.isEmpty() &&
        parts.front().compare(QLatin1String("Software"), Qt::CaseInsensitive) == 0)
        parts.removeFirst();
    // Whatever the path holds, the file stays inside the configuration folder.
    parts.removeAll(QStringLiteral("."));
    parts.removeAll(QStringLiteral(".."));
    if (parts.isEmpty())
        parts << QStringLiteral("Updater");
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(base).filePath(parts.join(QLatin1Char('/')) + QStringLiteral(".conf"));
}

bool UpdateSettings::automaticChecks() const {
    settings_->sync();
    return settings_->value(kCheckForUpdates, false).toBool();
}

void UpdateSettings::setAutomaticChecks(bool on) {
    settings_->setValue(kCheckForUpdates, on);
    settings_->sync();
}

QDateTime UpdateSettings::lastCheckTime() const {
    settings_->sync();
    return settings_->value(kLastCheckTime).toDateTime();
}

void UpdateSettings::setLastCheckTime(const QDateTime& time) {
    settings_->setValue(kLastCheckTime, time.toUTC());
    settings_->sync();
}

QString UpdateSettings::skippedVersion() const {
    settings_->sync();
    return settings_->value(kSkipThisVersion).toString();
}

void UpdateSettings::setSkippedVersion(const QString& version) {
    settings_->setValue(kSkipThisVersion, version);
    settings_->sync();
}

} // namespace appcast
