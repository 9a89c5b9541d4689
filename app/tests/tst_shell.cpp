#include "childprocess.h"
#include "logfile.h"
#include "messagelog.h"
#include "platform/autostart.h"
#include "platform/namedevent.h"
#include "sessionsandbox.h"
#include "settings.h"
#include "singleinstance.h"
#include "startupoptions.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Runs the real program from its own copy, so that "quit" can only ever end copies that
// this test started, and in a private session (configuration, runtime and temp folders).
class ProgramSandbox {
public:
    // Without a display, as the verbs must work from a plain terminal.
    explicit ProgramSandbox(bool display = true) {
        QDir().mkpath(session_.path(QStringLiteral("bin")));
        binary_ = session_.path(QStringLiteral("bin/castwell"));
        QFile::copy(QStringLiteral(CASTWELL_BINARY), binary_);
        environment_ = session_.environment();
        environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment_.remove(QStringLiteral("RESTART"));
        if (!display) {
            for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                environment_.remove(QLatin1String(name));
        }
    }

    QString binary() const { return binary_; }
    QString path(const QString& relative) const { return session_.path(relative); }
    QString logPath() const { return path(QStringLiteral("tmp/Castwell.log")); }
    QString autostartPath() const {
        return path(QStringLiteral("config/autostart/QuendralCastwell.desktop"));
    }

    QProcess* start(const QStringList& arguments) {
        processes_.push_back(std::make_unique<ChildProcess>());
        QProcess* process = processes_.back().get();
        process->setProcessEnvironment(environment_);
        process->start(binary_, arguments);
        process->waitForStarted();
        return process;
    }

    int run(const QStringList& arguments, QString* output = nullptr) {
        QProcess* process = start(arguments);
        if (!process->waitForFinished(30000))
            return -1;
        if (output)
            *output = QString::fromUtf8(process->readAllStandardOutput() +
                                        process->readAllStandardError());
        return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -2;
    }

    // True once a copy of the program owns the single-instance events of this sandbox.
    bool waitForPrimary() {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", path(QStringLiteral("runtime")).toLocal8Bit());
        const bool found = QTest::qWaitFor(
            [] {
                return platform::NamedEvent::open(SingleInstance::activationEventName()) != nullptr;
            },
            10000);
        qputenv("XDG_RUNTIME_DIR", saved);
        return found;
    }

    bool waitForLogLine(const QString& text, int timeoutMs = 10000) {
        return QTest::qWaitFor(
            [&] {
                QFile log(logPath());
                return log.open(QIODevice::ReadOnly) &&
                       QString::fromUtf8(log.readAll()).contains(text);
            },
            timeoutMs);
    }

private:
    SessionSandbox session_;
    QString binary_;
    QProcessEnvironment environment_;
    std::vector<std::unique_ptr<ChildProcess>> processes_;
};

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void startupOptionsSetSwitches_data();
    void startupOptionsSetSwitches();
    void startupEnvironmentDefaultsOpenGL();
    void versionIsCutBeforeThirdDot();
    void logFileAppendsTimeStampedLines();
    void logFileIsTheUsersAlone();
    void translationsAreEmbedded();
    void settingsWrittenOnFirstRun();

    void namedEventIsExclusiveAndSignalsOwner();
    void namedEventCreationLockIsExclusive();
    void namedEventReplacesStaleSocket();
    void namedEventsStayPrivate();
    void brokenSingleInstanceSetUpRunsUnprotected();
    void restartWaitEndsWhenPredecessorLeaves();

    void verbsExitCodes_data();
    void verbsExitCodes();
    void autostartEntryFile_data();
    void autostartEntryFile();
    void autostartVerbs();
    void secondStartActivatesFirstAndQuitEndsIt();
    void restartedProcessWaitsForPredecessor();

private:
    SessionSandbox session_;
};

void ShellTest::initTestCase() {
    QVERIFY(session_.isValid());
    session_.enter();
    QCoreApplication::setApplicationName(QStringLiteral("Castwell"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quendral"));
}

void ShellTest::init() {
    MessageLog::clear();
}

void ShellTest::logFileIsTheUsersAlone() {
    const QString path = LogFile::path();
    const QString target = path + QStringLiteral(".target");
    const auto logSomething = [] {
        LogFile log;
        qCritical() << "secret";
    };
    QFile::remove(path);
    logSomething();
    QCOMPARE(QFile::permissions(path) &
                 ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser),
             QFile::Permissions());

    // Planted links are not followed, and files of other users are left alone.
    QFile::remove(path);
    QVERIFY(QFile::link(target, path));
    logSomething();
    QVERIFY(!QFile::exists(target));
    QFile::remove(path);
    if (::geteuid() != 0)
        return;
    QFile planted(path);
    QVERIFY(planted.open(QIODevice::WriteOnly));
    planted.close();
    QCOMPARE(::chown(QFile::encodeName(path).constData(), 4242, 4242), 0);
    logSomething();
    QCOMPARE(QFileInfo(path).size(), 0);
}

void ShellTest::startupOptionsSetSwitches_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected"); // NAME=value; NAME= means unset
    QTest::addColumn<bool>("openLogFile");

    QTest::newRow("none") << QStringList{}
                          << QStringList{"DEBUG_OPENGL_RENDER=0", "GPU_SKIP_YUYV=0",
                                         "GPU_SKIP_JPEG=0", "QT_OPENGL=", "RESTART="}
                          << false;
    QTest::newRow("later OpenGL option wins") << QStringList{"--opengl-angle", "--opengl-software"}
                                              << QStringList{"QT_OPENGL=software"} << false;
    QTest::newRow("unknown dash arguments are ignored")
        << QStringList{"-x", "--LOG", "--Log-fps", "plain"}
        << QStringList{"CASTWELL_LOG_FPS=", "QT_OPENGL="} << false;
    QTest::newRow("log-fps opens the log")
        << QStringList{"--log-fps"} << QStringList{"CASTWELL_LOG_FPS=1"} << true;
    QTest::newRow("log-opengl") << QStringList{"--log-opengl"}
                                << QStringList{"DEBUG_OPENGL_RENDER=1", "CASTWELL_LOG_FPS=1"}
                                << true;
    QTest::newRow("gpu and restart switches")
        << QStringList{"--gpu-no-yuyv", "--gpu-no-jpeg", "--restart", "--opengl-desktop"}
        << QStringList{"GPU_SKIP_YUYV=1", "GPU_SKIP_JPEG=1", "RESTART=1", "QT_OPENGL=desktop"}
        << false;
    QTest::newRow("log") << QStringList{"--log"} << QStringList{} << true;
}

void ShellTest::startupOptionsSetSwitches() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QFETCH(bool, openLogFile);

    // Inherited values: the forced switches are overridden, the others survive unless set.
    for (const char* name : {"DEBUG_OPENGL_RENDER", "GPU_SKIP_YUYV", "GPU_SKIP_JPEG"})
        qputenv(name, "7");
    for (const char* name : {"QT_OPENGL", "CASTWELL_LOG_FPS", "RESTART"})
        qunsetenv(name);

    const StartupOptions options = applyStartupOptions(arguments);
    QCOMPARE(options.openLogFile, openLogFile);
    for (const QString& pair : expected) {
        const QString name = pair.section(QLatin1Char('='), 0, 0);
        const QString value = pair.section(QLatin1Char('='), 1);
        QCOMPARE(QString::fromLocal8Bit(qgetenv(name.toLatin1().constData())), value);
    }
    if (arguments.contains(QStringLiteral("--log-opengl")))
        QVERIFY(QSurfaceFormat::defaultFormat().testOption(QSurfaceFormat::DebugContext));
}

void ShellTest::startupEnvironmentDefaultsOpenGL() {
    MessageLog::capture();
    qunsetenv("QT_OPENGL");
    logStartupEnvironment({});
    QCOMPARE(qgetenv("QT_OPENGL"), QByteArray("desktop"));
    QVERIFY(MessageLog::lines().isEmpty()); // neither "Args:" nor a hint

    qputenv("QT_OPENGL", "software");
    logStartupEnvironment({QStringLiteral("-x"), QStringLiteral("--log")});
    MessageLog::release();
    QCOMPARE(qgetenv("QT_OPENGL"), QByteArray("software"));
    QCOMPARE(MessageLog::lines(),
             (QStringList{"Args: \"-x\" \"--log\"", "OpenGL backend hint: \"software\""}));
}

void ShellTest::versionIsCutBeforeThirdDot() {
    const char* const cases[][2] = {
        {"1.0.69", "1.0.69"}, {"1.2.3.4", "1.2.3"}, {"7", "7"}, {"1.2.3.", "1.2.3"}};
    for (const auto& c : cases)
        QCOMPARE(displayVersion(QLatin1String(c[0])), QLatin1String(c[1]));
}

void ShellTest::logFileAppendsTimeStampedLines() {
    QFile::remove(LogFile::path());
    for (int run = 0; run < 2; ++run) {
        LogFile log;
        qDebug() << "routine" << run;
        qCritical() << "milestone";
    }
    QFile file(LogFile::path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QRegularExpression stamped(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}: (.*)$"));
    QStringList messages;
    for (const QString& line : lines) {
        const QRegularExpressionMatch match = stamped.match(line);
        if (match.hasMatch())
            messages << match.captured(1);
    }
    // Both runs are in the file, each framed by its start and quit lines.
    QCOMPARE(messages.count(QStringLiteral("routine 0")), 1);
    QCOMPARE(messages.count(QStringLiteral("routine 1")), 1);
    QCOMPARE(messages.count(QStringLiteral("milestone")), 2);
    QCOMPARE(messages.count(QStringLiteral("-------------------")), 4);
    QCOMPARE(messages.filter(QRegularExpression(QStringLiteral("^App started: "))).size(), 2);
    QCOMPARE(messages.filter(QRegularExpression(QStringLiteral("^App quit: "))).size(), 2);
    QVERIFY(messages.indexOf(QStringLiteral("routine 0")) <
            messages.indexOf(QStringLiteral("routine 1")));
}

void ShellTest::translationsAreEmbedded() {
    for (const char* code : {"de", "en", "es", "fr", "it", "ja", "ko", "pt", "zh"}) {
        QTranslator application;
        QTranslator qt;
        QVERIFY2(application.load(QStringLiteral(":/tr/application_") + QLatin1String(code)) &&
                     qt.load(QStringLiteral(":/tr/qt_") + QLatin1String(code)),
                 code);
        QVERIFY(!application.translate("TrayIconMenu", "Sharing Screen").isEmpty());
        // Qt's own dialogs come out translated only when the module catalogues are embedded.
        // (Qt's English catalogue carries plural forms only.)
        if (qstrcmp(code, "en") != 0)
            QVERIFY2(!qt.translate("QPlatformTheme", "Cancel").isEmpty(), code);
    }
}

void ShellTest::settingsWrittenOnFirstRun() {
    Settings* settings = Settings::instance();
    QVERIFY(Settings::isFirstRun());
    QSettings stored(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quendral"),
                     QStringLiteral("Castwell"));
    for (const char* key :
         {"MaximizeOnShare", "ToFrontOnShare", "NotificationOnStateChange", "AutoUpdateFirmware"})
        QCOMPARE(stored.value(QString::fromLatin1(key)).toString(), QStringLiteral("true"));
    QCOMPARE(stored.value(QStringLiteral("DidRunOnce")).toString(), QStringLiteral("true"));
    QVERIFY(!settings->lastFWUpdateCheck().isValid());
    QVERIFY(!settings->lastRestart().isValid());

    // A value changed behind the object's back is seen.
    stored.setValue(QStringLiteral("MaximizeOnShare"), false);
    stored.sync();
    const QDateTime checked = QDateTime::currentDateTime();
    settings->setLastFWUpdateCheck(checked);
    QCOMPARE(settings->lastFWUpdateCheck(), checked);

    delete settings;
    settings = Settings::instance();
    QVERIFY(!Settings::isFirstRun());
    QVERIFY(!settings->maximizeOnShare());
    QCOMPARE(settings->lastFWUpdateCheck(), checked);
}

void ShellTest::namedEventIsExclusiveAndSignalsOwner() {
    const QString name = QStringLiteral("Local\\exclusive-test");
    QVERIFY(!platform::NamedEvent::open(name));

    auto owner = platform::NamedEvent::create(name);
    QVERIFY(owner);
    QVERIFY(owner->isOwner());
    int error = 0;
    QVERIFY(!platform::NamedEvent::create(name, &error));
    QCOMPARE(error, EEXIST);

    QSignalSpy activated(owner.get(), &platform::NamedEvent::activated);
    auto first = platform::NamedEvent::open(name);
    auto second = platform::NamedEvent::open(name);
    QVERIFY(first && second);
    QVERIFY(first->set());
    QVERIFY(second->set());
    QVERIFY(first->set());
    QTRY_COMPARE(activated.count(), 3);

    // An opener that closes right after setting still gets its signal delivered.
    QVERIFY(platform::NamedEvent::open(name)->set());
    QTRY_COMPARE(activated.count(), 4);

    owner.reset();
    QVERIFY(!platform::NamedEvent::open(name));
    QVERIFY(!first->set());
    QVERIFY(platform::NamedEvent::create(name));
}

// Two starts at once must not both find the name free and both create: the creation lock
// keeps out even a holder that took it only for reading.
void ShellTest::namedEventCreationLockIsExclusive() {
    const QString name = QStringLiteral("Local\\lock-test");
    const QByteArray lockPath =
        QFile::encodeName(platform::NamedEvent::socketPath(name) + QStringLiteral(".lock"));
    const int held = ::open(lockPath.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_SH), 0);
    struct stat status {};
    QCOMPARE(::fstat(held, &status), 0);
    const QByteArray inode = ':' + QByteArray::number(qulonglong(status.st_ino)) + ' ';

    // The kernel lists a request that waits for a lock with "->"; once create() waits for
    // ours, the holder lets go. A create() that does not wait finds the holder still there.
    std::atomic<bool> created{false};
    std::atomic<bool> waited{false};
    std::thread holder([&] {
        for (int polls = 0; polls < 5000 && !created && !waited; ++polls) {
            QFile locks(QStringLiteral("/proc/locks"));
            if (locks.open(QIODevice::ReadOnly)) {
                for (const QByteArray& line : locks.readAll().split('\n'))
                    waited = waited || (line.contains("-> FLOCK") && line.contains("WRITE") &&
                                        line.contains(inode));
            }
            if (!waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ::close(held);
    });
    const auto event = platform::NamedEvent::create(name);
    created = true;
    holder.join();
    QVERIFY(event);
    QVERIFY(waited);
}

void ShellTest::namedEventReplacesStaleSocket() {
    // A holder that was killed leaves its socket file behind; nobody answers there.
    const QString name = QStringLiteral("Local\\stale-test");
    const QString path = platform::NamedEvent::socketPath(name);
    QFile stale(path);
    QVERIFY(stale.open(QIODevice::WriteOnly));
    stale.close();
    auto owner = platform::NamedEvent::create(name);
    QVERIFY(owner);
    QVERIFY(platform::NamedEvent::open(name));
}

void ShellTest::namedEventsStayPrivate() {
    const QString name = QStringLiteral("Local\\private-test");
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const auto restoreRuntime = qScopeGuard([&runtime] { qputenv("XDG_RUNTIME_DIR", runtime); });
    const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

    // A runtime folder deeper than a socket address can name.
    const QString deep =
        QString::fromLocal8Bit(runtime) + QLatin1Char('/') + QString(100, QLatin1Char('d'));
    QVERIFY(QDir().mkpath(deep) && QFile::setPermissions(deep, ownerOnly));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
    {
        auto owner = platform::NamedEvent::create(name);
        QVERIFY(owner);
        QSignalSpy activated(owner.get(), &platform::NamedEvent::activated);
        QVERIFY(platform::NamedEvent::open(name)->set());
        QTRY_COMPARE(activated.count(), 1);
    }

    // No session folder: a private one in the temporary folder, refused once others may write.
    qunsetenv("XDG_RUNTIME_DIR");
    const QString folder = QFileInfo(platform::NamedEvent::socketPath(name)).absolutePath();
    QVERIFY(folder.startsWith(QDir::tempPath() + QLatin1Char('/')));
    QVERIFY(platform::NamedEvent::create(name));
    QVERIFY(QFile::setPermissions(folder, ownerOnly | QFile::WriteOther | QFile::ExeOther));
    QVERIFY(!platform::NamedEvent::create(name));
    QVERIFY(QFile::setPermissions(folder, ownerOnly));

    // Another user's socket at our name gets no signal of ours, and is not removed.
    if (::geteuid() != 0)
        return;
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const QByteArray socketPath = QFile::encodeName(platform::NamedEvent::socketPath(name));
    const pid_t child = ::fork();
    if (child == 0) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, socketPath.constData(), sizeof(address.sun_path) - 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const bool listening =
            ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::setresuid(4242, 4242, 4242) == 0 && ::listen(fd, 4) == 0;
        const char answer = listening ? 1 : 0;
        [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    QCOMPARE(::read(ready[0], &answer, 1), ssize_t{1});
    int error = 0;
    const bool refused =
        !platform::NamedEvent::open(name) && !platform::NamedEvent::create(name, &error);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    QCOMPARE(answer, char{1});
    QVERIFY(refused);
    QCOMPARE(error, EPERM);
    QVERIFY(QFileInfo::exists(QString::fromLocal8Bit(socketPath)));
}

void ShellTest::brokenSingleInstanceSetUpRunsUnprotected() {
    // Something planted where the quit event's socket goes: no copy runs, so this one starts.
    ProgramSandbox sandbox;
    QVERIFY(QDir().mkpath(sandbox.path(QStringLiteral("runtime/")) +
                          SingleInstance::quitEventName().mid(6)));
    QProcess* program = sandbox.start({QStringLiteral("--log")});
    QVERIFY(sandbox.waitForLogLine(QStringLiteral("running without single-instance protection")));
    QVERIFY(sandbox.waitForLogLine(QStringLiteral("Application version:")));
    QTest::qWait(200);
    QCOMPARE(program->state(), QProcess::Running);
}

void ShellTest::restartWaitEndsWhenPredecessorLeaves() {
    auto predecessor = std::make_unique<SingleInstance>();
    QVERIFY(predecessor->isPrimary());
    QVERIFY(!predecessor->notifyRunningInstance());
    SingleInstance restarted;
    QVERIFY(!restarted.isPrimary());

    int sleeps = 0;
    QVERIFY(!restarted.waitForOwnership(3, [&sleeps] { ++sleeps; }));
    QCOMPARE(sleeps, 3);

    sleeps = 0;
    QVERIFY(restarted.waitForOwnership(10, [&] {
        if (++sleeps == 2)
            predecessor.reset();
    }));
    QCOMPARE(sleeps, 2);

    // The new owner is told of every later start.
    SingleInstance later;
    QSignalSpy activation(&restarted, &SingleInstance::activationRequested);
    QVERIFY(later.notifyRunningInstance());
    QVERIFY(later.notifyRunningInstance());
    QTRY_COMPARE(activation.count(), 2);
}

void ShellTest::verbsExitCodes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("usageLine");

    QTest::newRow("help") << QStringList{"help"} << 0 << true;
    QTest::newRow("quit with nothing running") << QStringList{"quit"} << 0 << false;
    QTest::newRow("autostart without word") << QStringList{"autostart"} << 2 << true;
    QTest::newRow("autostart bad word") << QStringList{"autostart", "maybe"} << 2 << true;
    QTest::newRow("autostart extra word") << QStringList{"autostart", "on", "now"} << 2 << true;
    QTest::newRow("verbs are case-sensitive") << QStringList{"Autostart", "on"} << 2 << true;
    QTest::newRow("unknown verb") << QStringList{"launch"} << 2 << true;
    QTest::newRow("autostart off without entry") << QStringList{"autostart", "off"} << 0 << false;
}

void ShellTest::verbsExitCodes() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(bool, usageLine);

    ProgramSandbox sandbox(false);
    QString output;
    // "autostart" takes exactly two words, so a logging option would change its meaning.
    const bool withLog = arguments.size() == 1 || arguments.first() != QLatin1String("autostart");
    QCOMPARE(sandbox.run(arguments + (withLog ? QStringList{"--log"} : QStringList{}), &output),
             exitCode);
    QCOMPARE(output.contains(QStringLiteral("usage: castwell")), usageLine);
    QVERIFY(!QFile::exists(sandbox.autostartPath()));
    if (!withLog)
        return;

    QFile log(sandbox.logPath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    QVERIFY(logged.contains(QStringLiteral("Args: \"") + arguments.first() + QLatin1Char('"')));
    QVERIFY(logged.contains(QStringLiteral("Application version: 1.0.69")));
    QVERIFY(!logged.contains(QStringLiteral("Current system locale:"))); // no start-up ran
}

void ShellTest::autostartEntryFile_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("exec"); // as written in the file

    QTest::newRow("plain") << QStringLiteral("\"/opt/castwell/castwell\"")
                           << QStringLiteral("\"/opt/castwell/castwell\"");
    // A lone '%' would start a field code, which the session expands or drops.
    QTest::newRow("field code") << QStringLiteral("\"/opt/50% off/castwell\"")
                                << QStringLiteral("\"/opt/50%% off/castwell\"");
    // Inside quotes the session's parser takes \\, \` and \$; the value's own escape doubles
    // each backslash once more.
    QTest::newRow("backslash") << QStringLiteral("\"/opt/a\\b/castwell\"")
                               << QStringLiteral("\"/opt/a\\\\\\\\b/castwell\"");
    QTest::newRow("shell characters") << QStringLiteral("\"/opt/$HOME/`x`/castwell\"")
                                      << QStringLiteral("\"/opt/\\\\$HOME/\\\\`x\\\\`/castwell\"");
}

// The whole file: a desktop ignores an entry without its type, so single keys are not enough.
void ShellTest::autostartEntryFile() {
    QFETCH(QString, command);
    QFETCH(QString, exec);

    platform::AutoStartEntry entry(QStringLiteral("Entry"));
    QVERIFY(entry.setCommand(command));
    QFile file(entry.filePath());
    QCOMPARE(entry.filePath(), session_.path(QStringLiteral("config/autostart/Entry.desktop")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(file.readAll());
    file.close();
    QCOMPARE(written, QStringLiteral("[Desktop Entry]\nType=Application\nName=Entry\nExec=") +
                          exec + QStringLiteral("\nX-GNOME-Autostart-enabled=true\n"));
    QCOMPARE(entry.command(), command);

    // The desktop starts neither a hidden nor a disabled entry: both read as none.
    for (const char* off : {"Hidden=true\n", "X-GNOME-Autostart-enabled=false\n"}) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            QString(written)
                .replace(QStringLiteral("X-GNOME-Autostart-enabled=true\n"), QLatin1String(off))
                .toUtf8());
        file.close();
        QVERIFY(entry.command().isEmpty());
    }
    QVERIFY(entry.remove());
    QVERIFY(!file.exists());
}

void ShellTest::autostartVerbs() {
    ProgramSandbox sandbox(false);
    const QStringList on{QStringLiteral("autostart"), QStringLiteral("on")};
    const QStringList off{QStringLiteral("autostart"), QStringLiteral("off")};
    const auto isOurs = [&] {
        QFile file(sandbox.autostartPath());
        return file.open(QIODevice::ReadOnly) &&
               QString::fromUtf8(file.readAll())
                   .contains(QStringLiteral("\nExec=\"%1\"\n").arg(sandbox.binary()));
    };
    const auto writeEntry = [&](const QString& exec) {
        QDir().mkpath(QFileInfo(sandbox.autostartPath()).absolutePath());
        QFile file(sandbox.autostartPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(("[Desktop Entry]\nType=Application\nExec=" + exec + "\n").toUtf8());
    };

    QCOMPARE(sandbox.run(on), 0);
    QVERIFY(isOurs());
    QCOMPARE(sandbox.run(on), 0); // already on: nothing to do
    QCOMPARE(sandbox.run(off), 0);
    QVERIFY(!QFile::exists(sandbox.autostartPath()));

    // Without quotes it is not ours: "off" leaves it alone, "on" replaces it.
    writeEntry(sandbox.binary());
    QCOMPARE(sandbox.run(off), 0);
    QVERIFY(QFile::exists(sandbox.autostartPath()));
    QCOMPARE(sandbox.run(on), 0);
    QVERIFY(isOurs());

    // Redundant separators are normalised away: it is ours, and "off" removes it.
    writeEntry(QLatin1Char('"') +
               sandbox.binary().replace(QStringLiteral("/bin/"), QStringLiteral("//bin/./")) +
               QLatin1Char('"'));
    QCOMPARE(sandbox.run(off), 0);
    QVERIFY(!QFile::exists(sandbox.autostartPath()));

    // Another copy of the program is replaced by this one.
    writeEntry(QStringLiteral("\"/opt/other/castwell\""));
    QCOMPARE(sandbox.run(on), 0);
    QVERIFY(isOurs());

    // A write that cannot take effect is reported.
    QFile::remove(sandbox.autostartPath());
    QFile::setPermissions(QFileInfo(sandbox.autostartPath()).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFileInfo(QFileInfo(sandbox.autostartPath()).absolutePath()).isWritable())
        QSKIP("running with privileges that ignore folder permissions");
    QCOMPARE(sandbox.run(on), 1);
}

void ShellTest::secondStartActivatesFirstAndQuitEndsIt() {
    ProgramSandbox sandbox;
    QProcess* first = sandbox.start({QStringLiteral("--log")});
    QVERIFY(sandbox.waitForPrimary());

    QString output;
    QCOMPARE(sandbox.run({}, &output), 1);
    QVERIFY(output.contains(QStringLiteral("Application already running")));
    QVERIFY(sandbox.waitForLogLine(QStringLiteral("Activation requested externally")));
    QCOMPARE(first->state(), QProcess::Running);

    QCOMPARE(sandbox.run({QStringLiteral("quit")}), 0);
    QVERIFY(first->waitForFinished(5000));
    QCOMPARE(first->exitStatus(), QProcess::NormalExit);
    QCOMPARE(first->exitCode(), 0);
    QVERIFY(sandbox.waitForLogLine(QStringLiteral("Quit requested externally")));
}

void ShellTest::restartedProcessWaitsForPredecessor() {
    ProgramSandbox sandbox;
    QProcess* old = sandbox.start({});
    QVERIFY(sandbox.waitForPrimary());

    QProcess* restarted = sandbox.start({QStringLiteral("--restart"), QStringLiteral("--log")});
    QVERIFY(!restarted->waitForFinished(1500)); // still waiting for the old one
    QVERIFY(!sandbox.waitForLogLine(QStringLiteral("Current system locale:"), 0));

    // The old process dies without cleaning up, as after a crash.
    ::kill(static_cast<pid_t>(old->processId()), SIGKILL);
    QVERIFY(old->waitForFinished(5000));

    // Within a second or two the restarted process finishes its start-up and owns the session.
    QVERIFY(sandbox.waitForLogLine(QStringLiteral("Current system locale:"), 5000));
    QCOMPARE(sandbox.run({}), 1);
    QCOMPARE(restarted->state(), QProcess::Running);

    QCOMPARE(sandbox.run({QStringLiteral("quit")}), 0);
    QVERIFY(restarted->waitForFinished(5000));
}

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
