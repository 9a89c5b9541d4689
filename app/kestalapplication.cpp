#include "kestalapplication.h"

#include "platform/autostart.h"
#include "sessionwatchdog.h"
#include "settings.h"
#include "singleinstance.h"
#include "startupoptions.h"

#include <QApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QLocale>
#include <QProcess>
#include <QThread>
#include <QTranslator>

namespace {

QPointer<KestalApplication> applicationInstance;

constexpr int kRestartWaitSleeps = 10;
constexpr int kRestartGuardSeconds = 60;

const QString kAutoStartEntryName = QStringLiteral("QuendralCastwell");

QString expectedAutoStartCommand() {
    return QStringLiteral("\"%1\"").arg(
        QDir::toNativeSeparators(QCoreApplication::applicationFilePath()));
}

QStringList nativeLanguageNames(const QLocale& locale) {
    QStringList names;
    for (const QString& language : locale.uiLanguages())
        names << QLocale(language).nativeLanguageName();
    return names;
}

bool isCommandVerb(int argc, char** argv) {
    return argc > 1 && argv[1][0] != '-';
}

} // namespace

KestalApplication::KestalApplication(int& argc, char** argv)
    : argc_(argc)
    , argv_(argv) {
    applicationInstance = this;
    // A command verb never shows a window, so it must also work where no display is reachable
    // (a terminal session, a script); the GUI application is only needed to run the program.
    // An application object that already exists (an embedding test) is used as it is.
    if (!QCoreApplication::instance()) {
        if (isCommandVerb(argc_, argv_))
            new QCoreApplication(argc_, argv_);
        else
            new QApplication(argc_, argv_);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Castwell"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quendral"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CASTWELL_VERSION));
    // The installed menu entry's name: desktops find the program's icon and entry by it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quendral.Castwell"));
    singleInstance_ = std::make_unique<SingleInstance>();
    connect(singleInstance_.get(), &SingleInstance::activationRequested, this,
            &KestalApplication::activationRequested);
    // Sleep and session end only matter to a running program, not to a command.
    if (!isCommandVerb(argc_, argv_)) {
        watchDog_ = std::make_unique<SessionWatchDog>();
        connect(watchDog_.get(), &SessionWatchDog::goingToSleep, this,
                &KestalApplication::goingToSleep);
        connect(watchDog_.get(), &SessionWatchDog::wakingUp, this, &KestalApplication::wakingUp);
    }
}

KestalApplication::~KestalApplication() {
    singleInstance_.reset();
    delete settings_;
}

KestalApplication* KestalApplication::instance() {
    return applicationInstance;
}

bool KestalApplication::isPrimary() const {
    return singleInstance_->isPrimary();
}

bool KestalApplication::notifyRunningInstance() {
    return singleInstance_->notifyRunningInstance();
}

bool KestalApplication::init() {
    if (isCommandVerb(argc_, argv_)) {
        exitCode_ = runCommand();
        return false;
    }

    const bool restarted = qgetenv("RESTART") == "1";
    qunsetenv("RESTART");
    if (restarted) {
        const bool owner =
            singleInstance_->waitForOwnership(kRestartWaitSleeps, [] { QThread::sleep(1); });
        if (!owner) {
            qDebug() << "Cannot start second instance - other is still running";
            return false;
        }
        Settings::instance()->setLastRestart(QDateTime::currentDateTime());
    } else if (notifyRunningInstance()) {
        qDebug() << "Application already running";
        exitCode_ = 1;
        return false;
    }

    Settings* current = Settings::instance();
    if (settings_ != current) {
        delete settings_;
        settings_ = current;
    }

    qtTranslator_ = new QTranslator(this);
    appTranslator_ = new QTranslator(this);
    loadTranslations();
    return true;
}

int KestalApplication::runCommand() {
    const QString verb = QString::fromLatin1(argv_[1]);
    if (verb == QLatin1String("autostart")) {
        const QString word = argc_ == 3 ? QString::fromLatin1(argv_[2]) : QString();
        if (word == QLatin1String("on")) {
            setAutoStart(true);
            return isAutoStart() ? 0 : 1;
        }
        if (word == QLatin1String("off")) {
            setAutoStart(false);
            return isAutoStart() ? 1 : 0;
        }
        printUsage(stderr);
        return 2;
    }
    if (verb == QLatin1String("help")) {
        printUsage(stdout);
        return 0;
    }
    if (verb == QLatin1String("quit")) {
        quitAllInstances();
        return 0;
    }
    printUsage(stderr);
    return 2;
}

void KestalApplication::loadTranslations() {
    const QLocale locale = QLocale::system();
    const QStringList languageNames = nativeLanguageNames(locale);
    qDebug() << "Current system locale:" << locale << "UI Languages:" << languageNames;

    const QString translationsPath = QStringLiteral(":/tr");
    const QString separator = QStringLiteral("_");
    const QString suffix = QStringLiteral(".qm");
    qtTranslator_->load(QStringLiteral("qt_") + locale.name(), translationsPath, separator, suffix);
    if (appTranslator_->load(QStringLiteral("application_") + locale.name(), translationsPath,
                             separator, suffix))
        qDebug() << "Using translation for" << locale.nativeLanguageName().toUtf8().constData();
    if (qtTranslator_->isEmpty())
        qtTranslator_->load(locale, QStringLiteral("qt"), separator, translationsPath, suffix);
    if (appTranslator_->isEmpty() && appTranslator_->load(locale, QStringLiteral("application"),
                                                          separator, translationsPath, suffix))
        qDebug() << "Using translation for" << locale.nativeLanguageName().toUtf8().constData()
                 << "as first available of" << languageNames;

    if (!qtTranslator_->isEmpty())
        QCoreApplication::installTranslator(qtTranslator_);
    if (!appTranslator_->isEmpty())
        QCoreApplication::installTranslator(appTranslator_);
}

bool KestalApplication::isAutoStart() {
    const QString stored = platform::AutoStartEntry(kAutoStartEntryName).command();
    return QDir::toNativeSeparators(QDir::cleanPath(stored)) == expectedAutoStartCommand();
}

void KestalApplication::setAutoStart(bool auto_start) {
    if (isAutoStart() == auto_start)
        return;
    platform::AutoStartEntry entry(kAutoStartEntryName);
    if (auto_start)
        entry.setCommand(expectedAutoStartCommand());
    else
        entry.remove();
    emit autoStartChanged(isAutoStart());
}

void KestalApplication::quitAllInstances() {
    singleInstance_->quitAllInstances();
}

void KestalApplication::restart() {
    const QDateTime lastRestart = Settings::instance()->lastRestart();
    if (lastRestart.isValid() &&
        lastRestart.secsTo(QDateTime::currentDateTime()) < kRestartGuardSeconds)
        return;

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!arguments.contains(QStringLiteral("--restart")))
        arguments << QStringLiteral("--restart");
    // Quitting without a successor would leave the user with no program at all.
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments)) {
        qCritical() << "Failed to restart application";
        return;
    }
    QCoreApplication::quit();
}

void KestalApplication::clearRestartTime() {
    Settings::instance()->setLastRestart(QDateTime());
}
