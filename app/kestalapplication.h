#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class QTranslator;
class SessionWatchDog;
class Settings;
class SingleInstance;

// The process's application object: owns the QApplication, the settings, the single-instance
// record and the translators, and runs the start-up checks.
class KestalApplication : public QObject {
    Q_OBJECT
public:
    KestalApplication(int& argc, char** argv);
    ~KestalApplication() override;

    static KestalApplication* instance();

    // The start-up checks; false means: end the process now with exitCode().
    bool init();
    int exitCode() const { return exitCode_; }
    int runCommand();

    Settings* settings() const { return settings_; }
    bool isAutoStart();
    bool isPrimary() const;
    bool notifyRunningInstance();

signals:
    void autoStartChanged(bool is_auto_start);
    void activationRequested();
    void goingToSleep();
    void wakingUp();

public slots:
    void setAutoStart(bool auto_start);
    void quitAllInstances();
    void restart();
    void clearRestartTime();

private:
    void loadTranslations();

    Settings* settings_ = nullptr;
    std::unique_ptr<SingleInstance> singleInstance_;
    std::unique_ptr<SessionWatchDog> watchDog_;
    QPointer<QTranslator> qtTranslator_;
    QPointer<QTranslator> appTranslator_;
    int& argc_;
    char** argv_;
    int exitCode_ = 0;
};
