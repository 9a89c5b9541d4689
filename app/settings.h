#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>

class QAction;
class QSettings;

// The user's choices, kept in the platform's settings storage, and the in-memory restart time.
// Setters always write and always emit, so bound check boxes stay in step even when a
// value is set twice.
class Settings : public QObject {
    Q_OBJECT
public:
    static Settings* instance();
    ~Settings() override;

    bool maximizeOnShare() const;
    bool toFrontOnShare() const;
    bool notificationOnStateChange() const;
    bool autoUpdateFW() const;
    QDateTime lastFWUpdateCheck() const;
    QDateTime lastRestart() const;
    // True when this account had not run the program before this process started.
    static bool isFirstRun();

    void bindMaximizeOnShare(QAction* action);
    void bindToFrontOnShare(QAction* action);
    void bindNotificationOnStateChange(QAction* action);
    void bindAutoUpdateFW(QAction* action);

signals:
    void maximizeOnShareChanged(bool);
    void toFrontOnShareChanged(bool);
    void notificationOnStateChangeChanged(bool);
    void autoUpdateFWChanged(bool);

public slots:
    void setMaximizeOnShare(bool new_value);
    void setToFrontOnShare(bool new_value);
    void setNotificationOnStateChange(bool new_value);
    void setAutoUpdateFW(bool new_value);
    void setLastRestart(QDateTime time);
    void setLastFWUpdateCheck(QDateTime time);

private:
    Settings();
    bool readSwitch(const QString& key) const;
    void writeValue(const QString& key, const QVariant& value);
    void bindSwitch(QAction* action, const QString& key, void (Settings::*setter)(bool),
                    void (Settings::*changed)(bool));

    QSettings* settings_;
    static QPointer<Settings> instance_;
};
