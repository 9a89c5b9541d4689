#include "childprocess.h"
#include "logfile.h"
#include "messagelog.h"
#include "platform/autostart.h"
#include "platform/namedevent.h"
#include "sessionsandbox.h"
#include "settings.h"
#include "singleinstance.h"
#include "startupoptions.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

QString contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Runs the real program from its own copy, so that "quit" can only ever end copies that
// this test started, and in a private session (configuration, runtime and temp folders).
struct ProgramSandbox {
    // Without a display, as the verbs must work from a plain terminal.
    explicit ProgramSandbox(bool display = true) {
        QDir().mkpath(session.path(QStringLiteral("bin")));
        QFile::copy(QStringLiteral(CASTWELL_BINARY), binary);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (const char* name : {"RESTART", "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            if (!display || !qstrcmp(name, "RESTART"))
                environment.remove(QLatin1String(name));
    }

    QProcess* start(const QStringList& arguments) {
        processes.push_back(std::make_unique<ChildProcess>());
        processes.back()->setProcessEnvironment(environment);
        processes.back()->start(binary, arguments);
        processes.back()->waitForStarted();
        return processes.back().get();
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

    bool logged(const QString& text, int timeoutMs = 10000) {
        return QTest::qWaitFor([&] { return contents(log).contains(text); }, timeoutMs);
    }

    SessionSandbox session;
    const QString binary = session.path(QStringLiteral("bin/castwell"));
    const QString log = session.path(QStringLiteral("tmp/Castwell.log"));
    const QString autostart =
        session.path(QStringLiteral("config/autostart/QuendralCastwell.desktop"));
    QProcessEnvironment environment = session.environment();
    std::vector<std::unique_ptr<ChildProcess>> processes;
};

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(session_.isValid());
        session_.enter();
        QCoreApplication::setApplicationName(QStringLiteral("Castwell"));
        QCoreApplication::setOrganizationName(QStringLiteral("Quendral"));
    }
    void init() { MessageLog::clear(); }

    void startupOptionsSetSwitches() {
        // arguments; NAME=value afterwards (NAME= means unset); whether the log file opens
        const struct {
            const char *arguments, *expected;
            bool log;
        } cases[] = {
            {"",
             "DEBUG_OPENGL_RENDER=0 GPU_SKIP_YUYV=0 GPU_SKIP_JPEG=0 QT_OPENGL= RESTART=", false},
            {"--opengl-angle --opengl-software", "QT_OPENGL=software", false},
            {"-x --LOG --Log-fps plain", "CASTWELL_LOG_FPS= QT_OPENGL=", false},
            {"--log-fps", "CASTWELL_LOG_FPS=1", true},
            {"--log-opengl", "DEBUG_OPENGL_RENDER=1 CASTWELL_LOG_FPS=1", true},
            {"--gpu-no-yuyv --gpu-no-jpeg --restart --opengl-desktop",
             "GPU_SKIP_YUYV=1 GPU_SKIP_JPEG=1 RESTART=1 QT_OPENGL=desktop", false},
            {"--log", "", true}};
        for (const auto& c : cases) {
            // Inherited values: the forced switches are overridden, the others survive unless set.
            for (const char* name : {"DEBUG_OPENGL_RENDER", "GPU_SKIP_YUYV", "GPU_SKIP_JPEG"})
                qputenv(name, "7");
            for (const char* name : {"QT_OPENGL", "CASTWELL_LOG_FPS", "RESTART"})
                qunsetenv(name);
            const QStringList arguments = QString(c.arguments).split(' ', Qt::SkipEmptyParts);
            QVERIFY2(applyStartupOptions(arguments).openLogFile == c.log, c.arguments);
            for (const QString& pair : QString(c.expected).split(' ', Qt::SkipEmptyParts))
                QVERIFY2(qgetenv(pair.section('=', 0, 0).toLatin1()) == pair.section('=', 1),
                         qPrintable(c.arguments + (": " + pair)));
        }
        QVERIFY(QSurfaceFormat::defaultFormat().testOption(QSurfaceFormat::DebugContext));
    }
    void startupEnvironmentDefaultsOpenGL() {
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
    void logFileAppendsTimeStampedLines() {
        QFile::remove(LogFile::path());
        for (int run = 0; run < 2; ++run) {
            LogFile log;
            qDebug() << "routine" << run;
            qCritical() << "milestone";
        }
        const QRegularExpression stamped(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}: (.*)$"));
        QStringList messages;
        for (const QString& line : contents(LogFile::path()).split(QLatin1Char('\n')))
            if (stamped.match(line).hasMatch())
                messages << stamped.match(line).captured(1);
        // Both runs are in the file, in order, each framed by its start and quit lines.
        messages.replaceInStrings(QRegularExpression(QStringLiteral("^(App (started|quit): ).*")),
                                  QStringLiteral("\\1"));
        for (const auto& [message, count] : {std::pair{"routine 0", 1},
                                             {"routine 1", 1},
                                             {"milestone", 2},
                                             {"-------------------", 4},
                                             {"App started: ", 2},
                                             {"App quit: ", 2}})
            QVERIFY2(messages.count(QLatin1String(message)) == count, message);
        QVERIFY(messages.indexOf(QStringLiteral("routine 0")) <
                messages.indexOf(QStringLiteral("routine 1")));
    }
    void logFileIsTheUsersAlone() {
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
        QVERIFY(QFile(path).open(QIODevice::WriteOnly));
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 4242, 4242), 0);
        logSomething();
        QCOMPARE(QFileInfo(path).size(), 0);
    }
    void translationsAreEmbedded() {
        for (const char* code : {"de", "en", "es", "fr", "it", "ja", "ko", "pt", "zh"}) {
            QTranslator application, qt;
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
    void settingsWrittenOnFirstRun() {
        Settings* settings = Settings::instance();
        QSettings stored(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quendral"),
                         QStringLiteral("Castwell"));
        for (const char* key : {"MaximizeOnShare", "ToFrontOnShare", "NotificationOnStateChange",
                                "AutoUpdateFirmware", "DidRunOnce"})
            QVERIFY2(stored.value(QString::fromLatin1(key)).toString() == "true", key);
        QVERIFY(!settings->lastFWUpdateCheck().isValid());
        QVERIFY(!settings->lastRestart().isValid());

        // A value changed behind the object's back is seen.
        stored.setValue(QStringLiteral("MaximizeOnShare"), false);
        stored.sync();
        const QDateTime checked = QDateTime::currentDateTime();
        settings->setLastFWUpdateCheck(checked);

        delete settings;
        settings = Settings::instance();
        QVERIFY(!settings->maximizeOnShare());
        QCOMPARE(settings->lastFWUpdateCheck(), checked);
    }

    void namedEventIsExclusiveAndSignalsOwner() {
        const QString name = QStringLiteral("Local\\exclusive-test");
        QVERIFY(!platform::NamedEvent::open(name));

        auto owner = platform::NamedEvent::create(name);
        QVERIFY(owner && owner->isOwner());
        int error = 0;
        QVERIFY(!platform::NamedEvent::create(name, &error));
        QCOMPARE(error, EEXIST);

        QSignalSpy activated(owner.get(), &platform::NamedEvent::activated);
        auto first = platform::NamedEvent::open(name);
        auto second = platform::NamedEvent::open(name);
        QVERIFY(first && second && first->set() && second->set() && first->set());
        QTRY_COMPARE(activated.count(), 3);

        // An opener that closes right after setting still gets its signal delivered.
        QVERIFY(platform::NamedEvent::open(name)->set());
        QTRY_COMPARE(activated.count(), 4);

        owner.reset();
        QVERIFY(!platform::NamedEvent::open(name) && !first->set());
        QVERIFY(platform::NamedEvent::create(name));
    }
    // Two starts at once must not both find the name free and both create: the creation lock
    // keeps out even a holder that took it only for reading.
    void namedEventCreationLockIsExclusive() {
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
    void namedEventsStayPrivate() {
        const QString name = QStringLiteral("Local\\private-test");
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        const auto restoreRuntime =
            qScopeGuard([&runtime] { qputenv("XDG_RUNTIME_DIR", runtime); });
        const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

        // A runtime folder deeper than a socket address can name.
        const QString deep =
            QString::fromLocal8Bit(runtime) + QLatin1Char('/') + QString(100, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep) && QFile::setPermissions(deep, ownerOnly));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
        if (auto owner = platform::NamedEvent::create(name)) {
            QSignalSpy activated(owner.get(), &platform::NamedEvent::activated);
            QVERIFY(platform::NamedEvent::open(name)->set());
            QTRY_COMPARE(activated.count(), 1);
        } else {
            QFAIL("no event under a deep runtime folder");
        }

        // No session folder: a private one in the temporary folder, refused once others may write.
        qunsetenv("XDG_RUNTIME_DIR");
        const QString folder = QFileInfo(platform::NamedEvent::socketPath(name)).path();
        QVERIFY(folder.startsWith(QDir::tempPath() + QLatin1Char('/')));
        QVERIFY(platform::NamedEvent::create(name));
        QVERIFY(QFile::setPermissions(folder, ownerOnly | QFile::WriteOther | QFile::ExeOther));
        QVERIFY(!platform::NamedEvent::create(name));
        QVERIFY(QFile::setPermissions(folder, ownerOnly));

        // Another user's socket at our name gets no signal of ours, and is not removed.
        if (::geteuid() != 0)
            return;
        // The listener's credentials are what count: it binds as root, then becomes another user.
        const QString socketPath = platform::NamedEvent::socketPath(name);
        ChildProcess other;
        other.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-c"),
                     QStringLiteral("import os, socket, sys, time\n"
                                    "s = socket.socket(socket.AF_UNIX); s.bind(sys.argv[1])\n"
                                    "os.setresuid(4242, 4242, 4242); s.listen(4)\n"
                                    "print('listening', flush=True); time.sleep(60)"),
                     socketPath});
        QVERIFY(other.waitForReadyRead(5000) && other.readAll().startsWith("listening"));
        int error = 0;
        QVERIFY(!platform::NamedEvent::open(name) && !platform::NamedEvent::create(name, &error));
        QCOMPARE(error, EPERM);
        QVERIFY(QFileInfo::exists(socketPath));

        // Another user's process that reaches our socket is not heard. It walks the folders as
        // root but is another user by its effective id, which is what the socket reports.
        const QString heard = QStringLiteral("Local\\heard-test");
        const auto owner = platform::NamedEvent::create(heard);
        QVERIFY(owner);
        QSignalSpy activated(owner.get(), &platform::NamedEvent::activated);
        QCOMPARE(QProcess::execute(
                     QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import ctypes, os, socket, sys\n"
                                     "os.setresuid(0, 4242, 0); ctypes.CDLL(None).setfsuid(0)\n"
                                     "s = socket.socket(socket.AF_UNIX); s.connect(sys.argv[1])\n"
                                     "s.send(b'\\1')"),
                      platform::NamedEvent::socketPath(heard)}),
                 0);
        // Ours comes after it: once ours is heard, the other one was dealt with.
        QVERIFY(platform::NamedEvent::open(heard)->set());
        QTRY_COMPARE(activated.count(), 1);
    }
    void brokenSingleInstanceSetUpRunsUnprotected() {
        // Something planted where the quit event's socket goes: no copy runs, so this one starts.
        ProgramSandbox sandbox;
        QVERIFY(QDir().mkpath(sandbox.session.path(QStringLiteral("runtime/")) +
                              SingleInstance::quitEventName().mid(6)));
        QProcess* program = sandbox.start({QStringLiteral("--log")});
        QVERIFY(sandbox.logged(QStringLiteral("running without single-instance protection")));
        QVERIFY(sandbox.logged(QStringLiteral("Application version:")));
        QTest::qWait(200);
        QCOMPARE(program->state(), QProcess::Running);
    }
    // That the wait ends when the predecessor leaves is shown by the program run below.
    void restartWaitGivesUp() {
        SingleInstance predecessor;
        QVERIFY(predecessor.isPrimary());
        QVERIFY(!predecessor.notifyRunningInstance());
        SingleInstance restarted;
        QVERIFY(!restarted.isPrimary());
        int sleeps = 0;
        QVERIFY(!restarted.waitForOwnership(3, [&sleeps] { ++sleeps; }) && sleeps == 3);
    }

    void verbsExitCodes() {
        const struct {
            const char* arguments;
            int exitCode;
            bool usageLine;
        } cases[] = {{"help", 0, true},
                     {"quit", 0, false},
                     {"autostart", 2, true},
                     {"autostart maybe", 2, true},
                     {"autostart on now", 2, true},
                     {"Autostart on", 2, true},
                     {"launch", 2, true},
                     {"autostart off", 0, false}};
        for (const auto& c : cases) {
            QStringList arguments = QString(c.arguments).split(' ');
            // "autostart" takes exactly two words, so a logging option would change its meaning.
            const bool withLog = arguments.size() == 1 || arguments.first() != "autostart";
            if (withLog)
                arguments << QStringLiteral("--log");
            ProgramSandbox sandbox(false);
            QString output;
            QVERIFY2(sandbox.run(arguments, &output) == c.exitCode, c.arguments);
            QVERIFY2(output.contains(QStringLiteral("usage: castwell")) == c.usageLine,
                     c.arguments);
            QVERIFY(!QFile::exists(sandbox.autostart));
            const QString logged = contents(sandbox.log);
            QVERIFY2(!withLog || (logged.contains("Args: \"" + arguments.first() + '"') &&
                                  logged.contains(QStringLiteral("Application version: 1.0.69")) &&
                                  !logged.contains(QStringLiteral("Current system locale:"))),
                     c.arguments); // the verbs run no start-up
        }
        // Answered before anything starts, without a display; Qt's own options pass.
        const char* const answers[][4] = {
            // arguments, exit code, start of standard output, part of standard error
            {"--log --help", "0", "usage: castwell", ""},
            {"-h", "0", "usage: castwell", ""},
            {"--version", "0", "castwell 1.0.69\n", ""},
            {"--bogus --log", "2", "", "unknown option --bogus\nusage: castwell"},
            {"help -session 1f2e -style=fusion", "0", "usage: castwell", "Application version:"}};
        for (const auto& [arguments, exitCode, out, err] : answers) {
            ProgramSandbox sandbox(false);
            QProcess* process = sandbox.start(QString(arguments).split(' '));
            QVERIFY2(process->waitForFinished(30000) && process->exitCode() == atoi(exitCode) &&
                         process->readAllStandardOutput().startsWith(out) &&
                         QString(process->readAllStandardError()).contains(err) &&
                         !QFile::exists(sandbox.log),
                     arguments);
        }
    }
    void autostartEntryFile_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("exec"); // as written in the file
        QTest::addColumn<QString>("tryExec");

        QTest::newRow("plain") << QStringLiteral("\"/opt/castwell/castwell\"")
                               << QStringLiteral("\"/opt/castwell/castwell\"")
                               << QStringLiteral("/opt/castwell/castwell");
        // A lone '%' would start a field code, which the session expands or drops.
        QTest::newRow("field code") << QStringLiteral("\"/opt/50% off/castwell\"")
                                    << QStringLiteral("\"/opt/50%% off/castwell\"")
                                    << QStringLiteral("/opt/50% off/castwell");
        // Inside quotes the session's parser takes \\, \` and \$; the value's own escape doubles
        // each backslash once more.
        QTest::newRow("backslash") << QStringLiteral("\"/opt/a\\b/castwell\"")
                                   << QStringLiteral("\"/opt/a\\\\\\\\b/castwell\"")
                                   << QStringLiteral("/opt/a\\\\b/castwell");
        QTest::newRow("shell characters")
            << QStringLiteral("\"/opt/$HOME/`x`/castwell\"")
            << QStringLiteral("\"/opt/\\\\$HOME/\\\\`x\\\\`/castwell\"")
            << QStringLiteral("/opt/$HOME/`x`/castwell");
    }
    // The whole file: a desktop ignores an entry without its type, so single keys are not enough.
    void autostartEntryFile() {
        QFETCH(QString, command);
        QFETCH(QString, exec);
        QFETCH(QString, tryExec);

        platform::AutoStartEntry entry(QStringLiteral("Entry"));
        QVERIFY(entry.setCommand(command));
        QFile file(entry.filePath());
        QCOMPARE(entry.filePath(), session_.path(QStringLiteral("config/autostart/Entry.desktop")));
        const QString written = contents(file.fileName());
        QCOMPARE(written, QStringLiteral("[Desktop Entry]\nType=Application\nName=Entry\nExec=") +
                              exec + QStringLiteral("\nTryExec=") + tryExec +
                              QStringLiteral("\nX-GNOME-Autostart-enabled=true\n"));
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
    void autostartVerbs() {
        ProgramSandbox sandbox(false);
        const QString folder = QFileInfo(sandbox.autostart).path();
        const QString ours = '"' + sandbox.binary + '"';
        // The entry's Exec written before (null: as the step before left it), the verb, and the
        // Exec after (empty: no entry). Without quotes it is not ours; redundant separators are
        // normalised away; another copy of the program is replaced by this one.
        const QString steps[][3] = {{{}, "on", ours},
                                    {{}, "on", ours}, // already on: nothing to do
                                    {{}, "off", ""},
                                    {sandbox.binary, "off", sandbox.binary},
                                    {{}, "on", ours},
                                    {QString(ours).replace("/bin/", "//bin/./"), "off", ""},
                                    {"\"/opt/other/castwell\"", "on", ours}};
        for (const auto& [before, verb, after] : steps) {
            if (!before.isNull()) {
                QFile file(sandbox.autostart);
                QVERIFY(QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) &&
                        file.write(
                            ("[Desktop Entry]\nType=Application\nExec=" + before + "\n").toUtf8()) >
                            0);
            }
            QCOMPARE(sandbox.run({QStringLiteral("autostart"), verb}), 0);
            const QString exec = QRegularExpression(QStringLiteral("\nExec=(.*)\n"))
                                     .match(contents(sandbox.autostart))
                                     .captured(1);
            QVERIFY2(exec == after, qPrintable(verb + ' ' + before + " -> " + exec));
        }

        // A write that cannot take effect is reported.
        QFile::remove(sandbox.autostart);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(folder).isWritable())
            QSKIP("running with privileges that ignore folder permissions");
        QCOMPARE(sandbox.run({QStringLiteral("autostart"), QStringLiteral("on")}), 1);
    }
    // A restarted copy waits for its predecessor, even one that died without cleaning up (as after
    // a crash, leaving its sockets behind), then owns the session: later starts activate it, and
    // "quit" ends it.
    void restartedProcessTakesOverTheSession() {
        ProgramSandbox sandbox;
        // Logged once a copy owns the session.
        const auto owners = [&] {
            return contents(sandbox.log).count(QStringLiteral("Current system locale:"));
        };
        QProcess* old = sandbox.start({QStringLiteral("--log")});
        QVERIFY(QTest::qWaitFor([&] { return owners() == 1; }, 10000));
        QProcess* restarted = sandbox.start({QStringLiteral("--restart"), QStringLiteral("--log")});
        QVERIFY(!restarted->waitForFinished(1500));
        QCOMPARE(owners(), 1);
        ::kill(static_cast<pid_t>(old->processId()), SIGKILL);
        QVERIFY(QTest::qWaitFor([&] { return owners() == 2; }, 5000));

        QString output;
        QCOMPARE(sandbox.run({}, &output), 1);
        QVERIFY(output.contains(QStringLiteral("Application already running")));
        QVERIFY(sandbox.logged(QStringLiteral("Activation requested externally")));
        QCOMPARE(restarted->state(), QProcess::Running);

        QCOMPARE(sandbox.run({QStringLiteral("quit")}), 0);
        QVERIFY(restarted->waitForFinished(5000));
        QCOMPARE(restarted->exitStatus(), QProcess::NormalExit);
        QCOMPARE(restarted->exitCode(), 0);
        QVERIFY(sandbox.logged(QStringLiteral("Quit requested externally")));
    }

    // One program file in two sessions (runtime folders, X servers): "quit" in one ends its copy
    // and a straggler there (a restarted copy waits, deaf), and leaves the other session's copy.
    void quitKeepsToItsSession() {
        ProgramSandbox here;
        SessionSandbox elsewhere;
        ChildProcess displays[2];
        QProcessEnvironment environments[] = {here.environment, elsewhere.environment()};
        for (int i = 0; i < 2; ++i) {
            // Xvfb takes a free display and writes its number to standard output.
            displays[i].start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), "1"});
            QVERIFY(displays[i].waitForReadyRead(30000));
            environments[i].insert("DISPLAY", ':' + displays[i].readLine().trimmed());
            environments[i].insert("QT_QPA_PLATFORM", "xcb");
        }
        here.environment = environments[1];
        QProcess* other = here.start({QStringLiteral("--log")});
        here.environment = environments[0];
        QProcess* first = here.start({QStringLiteral("--log")});
        QVERIFY(here.logged(QStringLiteral("Current system locale:"), 30000));
        QProcess* straggler = here.start({QStringLiteral("--restart")});
        QString output;
        QCOMPARE(here.run({QStringLiteral("quit")}, &output), 0);
        QVERIFY(first->waitForFinished(10000) && straggler->waitForFinished(10000));
        // The first copy may still be on its way out when the stragglers are looked for.
        QVERIFY2(output.contains(QRegularExpression("other copies of this session ended: [12]\n")),
                 qPrintable(output));
        QVERIFY(!other->waitForFinished(500));
    }

private:
    SessionSandbox session_;
};

QTEST_MAIN(ShellTest)
#include "tst_shell.moc"
