#include "settings.h"

#include "platform/settingsformat.h"

#include <QAction>
#include <QGuiApplication>
#include <QSettings>

namespace {

const QString kMaximizeOnShare = QStringLiteral("MaximizeOnShare");
const QString kToFrontOnShare = QStringLiteral("ToFrontOnShare");
const QString kNotificationOnStateChange = QStringLiteral("NotificationOnStateChange");
const QString kAutoUpdateFirmware = QStringLiteral("AutoUpdateFirmware");
const QString kDidRunOnce = QStringLiteral("DidRunOnce");
const QString kLastFWCheckTime = QStringLiteral("LastFWCheckTime");

bool firstRun = false;
QDateTime lastRestartTime;

// Lets a window that asks for activation take the foreground, where the platform offers it.
void applyWindowActivationBehaviour(bool alwaysActivate) {
    using SetActivationBehaviour = void (*)(int);
    const auto function = reinterpret_cast<SetActivationBehaviour>(
        QGuiApplication::platformFunction("WindowsSetWindowActivationBehavior"));
    if (function)
        function(alwaysActivate ? 1 : 0);
}

} // namespace

QPointer<Settings> Settings::instance_;

Settings* Settings::instance() {
    if (!instance_)
        instance_ = new Settings;
    return instance_;
}

Settings::Settings()
    : settings_(new QSettings(platform::userSettingsFormat(), QSettings::UserScope,
                              QStringLiteral("Quendral"), QStringLiteral("Castwell"), this)) {
    for (const QString& key :
         {kMaximizeOnShare, kToFrontOnShare, kNotificationOnStateChange, kAutoUpdateFirmware})
        settings_->setValue(key, readSwitch(key));
    firstRun = !settings_->value(kDidRunOnce, false).toBool();
    settings_->setValue(kDidRunOnce, true);
    settings_->sync();
    applyWindowActivationBehaviour(readSwitch(kToFrontOnShare));
}

Settings::~Settings() = default;

bool Settings::readSwitch(const QString& key) const {
    return settings_->value(key, true).toBool();
}

void Settings::writeValue(const QString& key, const QVariant& value) {
    settings_->setValue(key, value);
    settings_->sync();
}

bool Settings::maximizeOnShare() const {
    return readSwitch(kMaximizeOnShare);
}
bool Settings::toFrontOnShare() const {
    return readSwitch(kToFrontOnShare);
}
bool Settings::notificationOnStateChange() const {
    return readSwitch(kNotificationOnStateChange);
}
bool Settings::autoUpdateFW() const {
    return readSwitch(kAutoUpdateFirmware);
}

QDateTime Settings::lastFWUpdateCheck() const {
    // Another process may have checked meanwhile.
    settings_->sync();
    return settings_->value(kLastFWCheckTime).toDateTime();
}

QDateTime Settings::lastRestart() const {
    return lastRestartTime;
}

bool Settings::isFirstRun() {
    return firstRun;
}

void Settings::setMaximizeOnShare(bool new_value) {
    writeValue(kMaximizeOnShare, new_value);
    emit maximizeOnShareChanged(new_value);
}

void Settings::setToFrontOnShare(bool new_value) {
    writeValue(kToFrontOnShare, new_value);
    applyWindowActivationBehaviour(new_value);
    emit toFrontOnShareChanged(new_value);
}

void Settings::setNotificationOnStateChange(bool new_value) {
    writeValue(kNotificationOnStateChange, new_value);
    emit notificationOnStateChangeChanged(new_value);
}

void Settings::setAutoUpdateFW(bool new_value) {
    writeValue(kAutoUpdateFirmware, new_value);
    emit autoUpdateFWChanged(new_value);
}

void Settings::setLastRestart(QDateTime time) {
    lastRestartTime = time;
}

void Settings::setLastFWUpdateCheck(QDateTime time) {
    writeValue(kLastFWCheckTime, time);
}

void Settings::bindSwitch(QAction* action, const QString& key, void (Settings::*setter)(bool),
                          void (Settings::*changed)(bool)) {
    connect(action, &QAction::triggered, this, setter);
    connect(this, changed, action, &QAction::setChecked);
    action->setChecked(readSwitch(key));
}

void Settings::bindMaximizeOnShare(QAction* action) {
    bindSwitch(action, kMaximizeOnShare, &Settings::setMaximizeOnShare,
               &Settings::maximizeOnShareChanged);
}

void Settings::bindToFrontOnShare(QAction* action) {
    bindSwitch(action, kToFrontOnShare, &Settings::setToFrontOnShare,
               &Settings::toFrontOnShareChanged);
}

void Settings::bindNotificationOnStateChange(QAction* action) {
    bindSwitch(action, kNotificationOnStateChange, &Settings::setNotificationOnStateChange,
               &Settings::notificationOnStateChangeChanged);
}

void Settings::bindAutoUpdateFW(QAction* action) {
    bindSwitch(action, kAutoUpdateFirmware, &Settings::setAutoUpdateFW,
               &Settings::autoUpdateFWChanged);
}
