#include "updatesettings.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSettings>
#include <QStandardPaths>

namespace appcast {

namespace {

const QString kCheckForUpdates = QStringLiteral("CheckForUpdates");
const QString kLastCheckTime = QStringLiteral("LastCheckTime");
const QString kSkipThisVersion = QStringLiteral("SkipThisVersion");
const QString kChannels = QStringLiteral("Channels");
const QString kRolloutGroup = QStringLiteral("RolloutGroup");
const QString kFailedVersion = QStringLiteral("FailedInstallVersion");
const QString kFailedVersionHeldUntil = QStringLiteral("FailedInstallHeldUntil");

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

QString UpdateSettings::installOutcomeFileFor(const QString& settingsPath) {
    QString file = fileFor(settingsPath);
    file.chop(int(qstrlen(".conf")));
    return file + QStringLiteral(".install-outcome");
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

QStringList UpdateSettings::channels() const {
    settings_->sync();
    return settings_->value(kChannels).toStringList();
}

int UpdateSettings::rolloutGroup(int groups) {
    settings_->sync();
    bool ok = false;
    const int kept = settings_->value(kRolloutGroup).toInt(&ok);
    if (ok && kept >= 0 && kept < groups)
        return kept;
    const int drawn = QRandomGenerator::global()->bounded(groups);
    settings_->setValue(kRolloutGroup, drawn);
    settings_->sync();
    return drawn;
}

QString UpdateSettings::failedVersion() const {
    settings_->sync();
    return settings_->value(kFailedVersion).toString();
}

QDateTime UpdateSettings::failedVersionHeldUntil() const {
    settings_->sync();
    return settings_->value(kFailedVersionHeldUntil).toDateTime();
}

void UpdateSettings::setFailedVersion(const QString& version, const QDateTime& heldUntil) {
    settings_->setValue(kFailedVersion, version);
    settings_->setValue(kFailedVersionHeldUntil, heldUntil.toUTC());
    settings_->sync();
}

} // namespace appcast
