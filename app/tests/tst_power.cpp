#include "childprocess.h"
#include "platform/powerevents.h"
#include "privatesessionbus.h"
#include "sessionwatchdog.h"
#include "sleepprevencontrol.h"

#include <QtDBus>
#include <QtTest>

#include <csignal>
#include <memory>
#include <vector>

namespace {

constexpr int kWaitMs = 5000;
constexpr int kLoopTimedOut = 2;
constexpr int kLoopStillRunning = 3;

// Debian's python3-dbusmock is installed for the system interpreter only, whatever python3
// comes first in PATH.
const QString kPython = QStringLiteral("/usr/bin/python3");

const QString kLogindService = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kScreenSaverService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");

// Set in the environment of the child run of carriesOnWithoutServices.
const char kCarryOnVariable[] = "CASTWELL_TST_POWER_CARRY_ON";

void resetTerminationDispositions() {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signalNumber, SIG_DFL);
}

volatile std::sig_atomic_t foreignHandlerCalls = 0;

// Records the announcements of a watch dog in order: 'S' going to sleep, 'R' waking up.
void recordAnnouncements(SessionWatchDog* watchDog, QString* announced) {
    QObject::connect(watchDog, &SessionWatchDog::goingToSleep, watchDog,
                     [announced] { *announced += QLatin1Char('S'); });
    QObject::connect(watchDog, &SessionWatchDog::wakingUp, watchDog,
                     [announced] { *announced += QLatin1Char('R'); });
}

QDBusMessage call(const QDBusConnection& bus, const QString& service, const QString& path,
                  const QString& interface, const QString& method,
                  const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kWaitMs);
}

// "what|who|why|mode" of every inhibitor logind holds in the given mode.
QStringList logindInhibitors(const QString& mode) {
    const QDBusMessage reply = call(QDBusConnection::systemBus(), kLogindService, kLogindPath,
                                    "org.freedesktop.login1.Manager", "ListInhibitors");
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {QStringLiteral("error: ") + reply.errorMessage()};
    QStringList inhibitors;
    const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, inhibitorMode;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> inhibitorMode >> uid >> pid;
        list.endStructure();
        if (inhibitorMode == mode)
            inhibitors << QStringList{what, who, why, inhibitorMode}.join(QLatin1Char('|'));
    }
    list.endArray();
    return inhibitors;
}

// "who|why" of every screen saver inhibition not yet lifted.
QStringList screenSaverInhibitions() {
    const QDBusMessage reply = call(QDBusConnection::sessionBus(), kScreenSaverService,
                                    kScreenSaverPath, kScreenSaverService, "ListInhibitions");
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {QStringLiteral("error: ") + reply.errorMessage()};
    return reply.arguments().at(0).toStringList();
}

bool emitPrepareForSleep(bool start) {
    return call(QDBusConnection::systemBus(), kLogindService, kLogindPath, kMockInterface,
                "EmitSignal",
                {"org.freedesktop.login1.Manager", "PrepareForSleep", "b",
                 QVariant(QVariantList{start})})
               .type() == QDBusMessage::ReplyMessage;
}

// The child run: the watch dog and the sleep prevention come and go a few times with some of
// the platform missing.
int runCarryOn() {
    for (int round = 0; round < 3; ++round) {
        SessionWatchDog watchDog;
        const std::shared_ptr<SleepPrevenControl> hold = SleepPrevenControl::instance();
        QCoreApplication::processEvents();
    }
    return 0;
}

} // namespace

class PowerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY2(QFile::exists(kPython), "python3-dbusmock needs the system python3");

        // Before the first use of QDBusConnection, which keeps the addresses it first saw.
        systemBus_ = std::make_unique<PrivateSessionBus>();
        sessionBus_ = std::make_unique<PrivateSessionBus>();
        QVERIFY2(systemBus_->isValid() && sessionBus_->isValid(),
                 "dbus-daemon (package dbus) did not start");
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", systemBus_->address().toUtf8());
        qputenv("DBUS_SESSION_BUS_ADDRESS", sessionBus_->address().toUtf8());

        QVERIFY2(startMock(QDBusConnection::systemBus(), kLogindService,
                           {QStringLiteral("--template"), QStringLiteral("logind")}),
                 "the logind mock (package python3-dbusmock) did not start");
        QVERIFY(startMock(QDBusConnection::sessionBus(), kScreenSaverService,
                          {QStringLiteral("--session"), kScreenSaverService, kScreenSaverPath,
                           kScreenSaverService}));

        // Like the desktops' screen savers: a cookie per inhibition, dropped by UnInhibit.
        const char* const methods[][4] = {
            {"Inhibit", "ss", "u",
             "self.inhibitions = getattr(self, 'inhibitions', {}); "
             "self.cookie = getattr(self, 'cookie', 0) + 1; "
             "self.inhibitions[self.cookie] = args[0] + '|' + args[1]; "
             "ret = dbus.UInt32(self.cookie)"},
            {"UnInhibit", "u", "", "del self.inhibitions[int(args[0])]"},
            {"ListInhibitions", "", "as",
             "ret = dbus.Array(getattr(self, 'inhibitions', {}).values(), signature='s')"}};
        for (const auto& m : methods) {
            const QDBusMessage reply =
                call(QDBusConnection::sessionBus(), kScreenSaverService, kScreenSaverPath,
                     kMockInterface, "AddMethod", {QString(), m[0], m[1], m[2], m[3]});
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        }
    }

    void announcesEachTransitionOnce() {
        // Events as 'S' suspending, 'R' resumed; then what is announced.
        const char* const cases[][2] = {
            {"S", "S"},   {"R", "R"}, // the first resume, without a suspend
            {"SR", "SR"}, {"SSR", "SR"}, {"SRRS", "SRS"}, {"RRSSRRSS", "RSRS"}};
        for (const auto& c : cases) {
            auto* source = new platform::PowerEvents;
            SessionWatchDog watchDog{std::unique_ptr<platform::PowerEvents>(source)};
            QString recorded;
            recordAnnouncements(&watchDog, &recorded);
            for (const char* event = c[0]; *event; ++event)
                *event == 'S' ? emit source->suspending() : emit source->resumed();
            QCOMPARE(recorded, QLatin1String(c[1]));
        }
    }

    void holdsInhibitionsWhileHeld() {
        // Idling into sleep is held off, the user's own suspend is not.
        const QString name = QCoreApplication::applicationName();
        const QStringList held{"idle|" + name + "|Sharing Screen|block", name + "|Sharing Screen"};
        const auto inhibitions = [] {
            return logindInhibitors("block") + screenSaverInhibitions();
        };
        QCOMPARE(inhibitions(), QStringList());

        std::shared_ptr<SleepPrevenControl> first = SleepPrevenControl::instance();
        QCOMPARE(inhibitions(), held);
        std::shared_ptr<SleepPrevenControl> second = SleepPrevenControl::instance();
        QCOMPARE(second.get(), first.get());
        first.reset();
        QCOMPARE(inhibitions(), held);
        second.reset();
        QTRY_COMPARE_WITH_TIMEOUT(inhibitions(), QStringList(), kWaitMs);

        // Held again after a release: a new inhibition, which goes as well.
        std::shared_ptr<SleepPrevenControl> again = SleepPrevenControl::instance();
        QCOMPARE(inhibitions(), held);
        again.reset();
        QTRY_COMPARE_WITH_TIMEOUT(inhibitions(), QStringList(), kWaitMs);
    }
    void followsLogindSleep() {
        const QStringList delayLock{QStringLiteral("sleep|%1|Pause sharing before sleep|delay")
                                        .arg(QCoreApplication::applicationName())};
        {
            SessionWatchDog watchDog;
            QString announced;
            recordAnnouncements(&watchDog, &announced);
            QStringList locksWhileGoingToSleep;
            connect(&watchDog, &SessionWatchDog::goingToSleep, this,
                    [&] { locksWhileGoingToSleep = logindInhibitors("delay"); });

            // The suspend waits for the announcement.
            QCOMPARE(logindInhibitors("delay"), delayLock);

            QVERIFY(emitPrepareForSleep(false));
            QTRY_COMPARE_WITH_TIMEOUT(announced, QStringLiteral("R"), kWaitMs);
            QVERIFY(emitPrepareForSleep(false) && emitPrepareForSleep(true));
            QTRY_COMPARE_WITH_TIMEOUT(announced, QStringLiteral("RS"), kWaitMs);
            QCOMPARE(locksWhileGoingToSleep, delayLock);
            // Announced: the suspend may go ahead.
            QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors("delay"), QStringList(), kWaitMs);

            QVERIFY(emitPrepareForSleep(true) && emitPrepareForSleep(false));
            QTRY_COMPARE_WITH_TIMEOUT(announced, QStringLiteral("RSR"), kWaitMs);
            QCOMPARE(logindInhibitors("delay"), delayLock);
        }
        // Gone with the watch dog, or every later suspend would wait out logind's limit.
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors("delay"), QStringList(), kWaitMs);
    }
    void carriesOnWithoutServices() {
        const QStringList noLogind{"suspend and resume not followed", "system sleep not inhibited"};
        // Whether the session bus stands in for a system bus without logind; what is reported,
        // once per process.
        for (const auto& [busesReachable, gaps] :
             {std::pair{false, noLogind + QStringList{"screen saver not inhibited"}},
              std::pair{true, noLogind}}) {
            const QString address =
                busesReachable ? sessionBus_->address() : "unix:path=" + dir_.filePath("absent");
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(kCarryOnVariable, "1");
            // Each gap the child reports is a line of its own, marked by its level.
            environment.insert("QT_MESSAGE_PATTERN", "%{type} %{message}");
            environment.insert("DBUS_SYSTEM_BUS_ADDRESS", address);
            environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
            ChildProcess child;
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(), QStringList());
            QVERIFY(child.waitForFinished(kWaitMs));
            const QString output = QString::fromUtf8(child.readAllStandardError());
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     qPrintable(output));

            const QStringList reported =
                output.split('\n').filter(QRegularExpression("^critical Power: "));
            QVERIFY2(reported.size() == gaps.size(), qPrintable(reported.join('\n')));
            for (const QString& gap : gaps)
                QVERIFY2(reported.filter(gap).size() == 1, qPrintable(gap));
            if (busesReachable)
                QCOMPARE(screenSaverInhibitions(), QStringList());
        }
    }

    void terminationSignalQuitsEventLoop() {
        // The last one as during the start-up checks, before the event loop runs.
        for (const auto& [signalNumber, beforeLoop] :
             {std::pair{SIGTERM, false}, {SIGHUP, false}, {SIGINT, false}, {SIGTERM, true}}) {
            resetTerminationDispositions();
            SessionWatchDog watchDog(std::make_unique<platform::PowerEvents>());
            QObject context;
            if (beforeLoop)
                std::raise(signalNumber);
            else
                QTimer::singleShot(0, &context, [number = signalNumber] { std::raise(number); });
            QTimer::singleShot(kWaitMs, &context, [] { QCoreApplication::exit(kLoopTimedOut); });
            QVERIFY2(QCoreApplication::exec() == 0, strsignal(signalNumber));
        }
    }
    // An ignored signal stays ignored; another handler is back once the watch dog goes.
    void foreignDispositionsSurvive() {
        resetTerminationDispositions();
        std::signal(SIGHUP, SIG_IGN);
        std::signal(SIGTERM, [](int) { foreignHandlerCalls = foreignHandlerCalls + 1; });
        foreignHandlerCalls = 0;
        {
            SessionWatchDog watchDog(std::make_unique<platform::PowerEvents>());
            QObject context;
            QTimer::singleShot(0, &context, [] { std::raise(SIGHUP); });
            // Time enough for the ignored signal to (wrongly) end the event loop.
            QTimer::singleShot(200, &context, [] { QCoreApplication::exit(kLoopStillRunning); });
            QCOMPARE(QCoreApplication::exec(), kLoopStillRunning);
        }
        QVERIFY(std::signal(SIGHUP, SIG_DFL) == SIG_IGN);
        std::raise(SIGTERM);
        QCOMPARE(int(foreignHandlerCalls), 1);
        resetTerminationDispositions();
    }

private:
    bool startMock(const QDBusConnection& bus, const QString& service,
                   const QStringList& arguments) {
        mocks_.push_back(std::make_unique<ChildProcess>());
        mocks_.back()->start(kPython,
                             QStringList{"-m", "dbusmock", "-l", dir_.filePath(service + ".log")} +
                                 arguments);
        return mocks_.back()->waitForStarted(kWaitMs) &&
               QTest::qWaitFor([&] { return bus.interface()->isServiceRegistered(service); },
                               kWaitMs);
    }

    // In this order so that the mocks go first, then the buses they are on.
    QTemporaryDir dir_;
    std::unique_ptr<PrivateSessionBus> systemBus_;
    std::unique_ptr<PrivateSessionBus> sessionBus_;
    std::vector<std::unique_ptr<ChildProcess>> mocks_;
};

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariableIsSet(kCarryOnVariable))
        return runCarryOn();
    PowerTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_power.moc"
