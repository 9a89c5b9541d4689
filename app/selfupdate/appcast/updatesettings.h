#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class QSettings;

namespace appcast {

// What the framework remembers between runs, kept apart from the program's own settings.
// The settings path is written the way the registry names keys ("Software\Maker\Program\Updater")
// and becomes a configuration file under the user's configuration folder
// (Maker/Program/Updater.conf), the leading "Software" dropped.
class UpdateSettings {
public:
    explicit UpdateSettings(const QString& settingsPath);
    ~UpdateSettings();

    static QString fileFor(const QString& settingsPath);
    // Where the installer leaves the outcome of an installation, beside the settings.
    static QString installOutcomeFileFor(const QString& settingsPath);

    bool automaticChecks() const;
    void setAutomaticChecks(bool on);
    QDateTime lastCheckTime() const;
    void setLastCheckTime(const QDateTime& time);
    QString skippedVersion() const;
    void setSkippedVersion(const QString& version);
    // Channels followed beside the default one; only ever set by hand.
    QStringList channels() const;
    // This installation's place in phased rollouts, drawn once and kept.
    int rolloutGroup(int groups);
    // A version whose installation failed is not offered by automatic checks before this time.
    QString failedVersion() const;
    QDateTime failedVersionHeldUntil() const;
    void setFailedVersion(const QString& version, const QDateTime& heldUntil);

private:
    std::unique_ptr<QSettings> settings_;
};

} // namespace appcast
