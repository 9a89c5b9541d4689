#include "childprocess.h"
#include "platform/powerevents.h"
#include "privatesessionbus.h"
#include "sessionwatchdog.h"
#include "sleepprevencontrol.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kChildRunTimeoutMs = 5000;
constexpr int kBusWaitMs = 3000;
constexpr int kQuitWaitMs = 3000;
// How long an ignored signal gets to (wrongly) end the event loop.
constexpr int kIgnoredSignalWaitMs = 200;
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

// The child run of carriesOnWithoutServices: set in its environment.
const char kScenarioVariable[] = "CASTWELL_TST_POWER_SCENARIO";
const QString kCarryOnScenario = QStringLiteral("carry-on");
const QString kGapLinePrefix = QStringLiteral("gap: ");
constexpr int kCarryOnRounds = 3;

void resetTerminationDispositions() {
    for (int signalNumber : {SIGTERM, SIGHUP, SIGINT})
        std::signal(signalNumber, SIG_DFL);
}

volatile std::sig_atomic_t foreignHandlerCalls = 0;

void countForeignSignal(int) {
    foreignHandlerCalls = foreignHandlerCalls + 1;
}

// Records the announcements of a watch dog in order: 'S' going to sleep, 'R' waking up.
void recordAnnouncements(SessionWatchDog* watchDog, QString* announced) {
    QObject::connect(watchDog, &SessionWatchDog::goingToSleep, watchDog,
                     [announced] { *announced += QLatin1Char('S'); });
    QObject::connect(watchDog, &SessionWatchDog::wakingUp, watchDog,
                     [announced] { *announced += QLatin1Char('R'); });
}

QDBusMessage callMock(const QDBusConnection& bus, const QString& service, const QString& path,
                      const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, kMockInterface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, kBusWaitMs);
}

// "what|who|why|mode" of every inhibitor logind holds in the given mode.
QStringList logindInhibitors(const QString& mode) {
    const QDBusMessage call = QDBusMessage::createMethodCall(
        kLogindService, kLogindPath, QStringLiteral("org.freedesktop.login1.Manager"),
        QStringLiteral("ListInhibitors"));
    const QDBusMessage reply = QDBusConnection::systemBus().call(call, QDBus::Block, kBusWaitMs);
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
    const QDBusMessage call =
        QDBusMessage::createMethodCall(kScreenSaverService, kScreenSaverPath, kScreenSaverService,
                                       QStringLiteral("ListInhibitions"));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kBusWaitMs);
    if (reply.type() != QDBusMessage::ReplyMessage)
        return {QStringLiteral("error: ") + reply.errorMessage()};
    return reply.arguments().at(0).toStringList();
}

bool emitPrepareForSleep(bool start) {
    const QDBusMessage reply = callMock(
        QDBusConnection::systemBus(), kLogindService, kLogindPath, QStringLiteral("EmitSignal"),
        {QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"),
         QStringLiteral("b"), QVariant(QVariantList{start})});
    return reply.type() == QDBusMessage::ReplyMessage;
}

// The child run: the watch dog and the sleep prevention come and go a few times with some of
// the platform missing. Each gap it reports goes to standard output as one line.
QtMessageHandler defaultMessageHandler = nullptr;

void printGaps(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg && message.startsWith(QLatin1String("Power: ")))
        std::printf("%s%s\n", qPrintable(kGapLinePrefix), qPrintable(message));
    else
        defaultMessageHandler(type, context, message);
}

int runCarryOnScenario() {
    defaultMessageHandler = qInstallMessageHandler(printGaps);
    for (int round = 0; round < kCarryOnRounds; ++round) {
        SessionWatchDog watchDog;
        const std::shared_ptr<SleepPrevenControl> hold = SleepPrevenControl::instance();
        QCoreApplication::processEvents();
    }
    std::fflush(stdout);
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
        const QVector<QStringList> methods = {
            {QStringLiteral("Inhibit"), QStringLiteral("ss"), QStringLiteral("u"),
             QStringLiteral("self.inhibitions = getattr(self, 'inhibitions', {}); "
                            "self.cookie = getattr(self, 'cookie', 0) + 1; "
                            "self.inhibitions[self.cookie] = args[0] + '|' + args[1]; "
                            "ret = dbus.UInt32(self.cookie)")},
            {QStringLiteral("UnInhibit"), QStringLiteral("u"), QString(),
             QStringLiteral("del self.inhibitions[int(args[0])]")},
            {QStringLiteral("ListInhibitions"), QString(), QStringLiteral("as"),
             QStringLiteral("ret = dbus.Array(getattr(self, 'inhibitions', {}).values(), "
                            "signature='s')")},
        };
        for (const QStringList& method : methods) {
            const QDBusMessage reply =
                callMock(QDBusConnection::sessionBus(), kScreenSaverService, kScreenSaverPath,
                         QStringLiteral("AddMethod"),
                         {QString(), method[0], method[1], method[2], method[3]});
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        }
    }
    void cleanupTestCase() {
        // Mocks first, then the buses they are on.
        mocks_.clear();
        sessionBus_.reset();
        systemBus_.reset();
    }

    void announcesEachTransitionOnce() {
        // Events as 'S' suspending, 'R' resumed; then what is announced.
        const char* const cases[][2] = {
            {"S", "S"},   {"R", "R"}, // the first resume, without a suspend
            {"SR", "SR"}, {"SSR", "SR"}, {"SRRS", "SRS"}, {"RRSSRRSS", "RSRS"}};
        for (const auto& c : cases) {
            auto ownedSource = std::make_unique<platform::PowerEvents>();
            platform::PowerEvents* source = ownedSource.get();
            SessionWatchDog watchDog(std::move(ownedSource));
            QString recorded;
            recordAnnouncements(&watchDog, &recorded);
            for (const char* event = c[0]; *event; ++event) {
                if (*event == 'S')
                    emit source->suspending();
                else
                    emit source->resumed();
            }
            QCOMPARE(recorded, QLatin1String(c[1]));
        }
    }

    void holdsInhibitionsWhileHeld() {
        // Idling into sleep is held off, the user's own suspend is not.
        const QString blocker =
            QStringLiteral("idle|%1|Sharing Screen|block").arg(QCoreApplication::applicationName());
        const QString inhibition =
            QStringLiteral("%1|Sharing Screen").arg(QCoreApplication::applicationName());
        const QString block = QStringLiteral("block");
        QCOMPARE(logindInhibitors(block), QStringList());
        QCOMPARE(screenSaverInhibitions(), QStringList());

        std::shared_ptr<SleepPrevenControl> first = SleepPrevenControl::instance();
        QCOMPARE(logindInhibitors(block), QStringList{blocker});
        QCOMPARE(screenSaverInhibitions(), QStringList{inhibition});

        std::shared_ptr<SleepPrevenControl> second = SleepPrevenControl::instance();
        QCOMPARE(second.get(), first.get());
        first.reset();
        QCOMPARE(logindInhibitors(block), QStringList{blocker});
        QCOMPARE(screenSaverInhibitions(), QStringList{inhibition});

        second.reset();
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(block), QStringList(), kBusWaitMs);
        QCOMPARE(screenSaverInhibitions(), QStringList());

        // Held again after a release: a new inhibition, which goes as well.
        std::shared_ptr<SleepPrevenControl> again = SleepPrevenControl::instance();
        QCOMPARE(logindInhibitors(block), QStringList{blocker});
        QCOMPARE(screenSaverInhibitions(), QStringList{inhibition});
        again.reset();
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(block), QStringList(), kBusWaitMs);
        QCOMPARE(screenSaverInhibitions(), QStringList());
    }
    void followsLogindSleep() {
        const QString delay = QStringLiteral("delay");
        const QStringList delayLock{QStringLiteral("sleep|%1|Pause sharing before sleep|delay")
                                        .arg(QCoreApplication::applicationName())};
        {
            SessionWatchDog watchDog;
            QString announced;
            recordAnnouncements(&watchDog, &announced);
            QStringList locksWhileGoingToSleep;
            connect(&watchDog, &SessionWatchDog::goingToSleep, this,
                    [&] { locksWhileGoingToSleep = logindInhibitors(delay); });

            // The suspend waits for the announcement.
            QCOMPARE(logindInhibitors(delay), delayLock);

            QVERIFY(emitPrepareForSleep(false));
            QTRY_COMPARE_WITH_TIMEOUT(announced, QStringLiteral("R"), kBusWaitMs);
            QVERIFY(emitPrepareForSleep(false));
            QVERIFY(emitPrepareForSleep(true));
            QTRY_COMPARE_WITH_TIMEOUT(announced, QStringLiteral("RS"), kBusWaitMs);
            QCOMPARE(locksWhileGoingToSleep, delayLock);
            // Announced: the suspend may go ahead.
            QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(delay), QStringList(), kBusWaitMs);

            QVERIFY(emitPrepareForSleep(true));
            QVERIFY(emitPrepareForSleep(false));
            QTRY_COMPARE_WITH_TIMEOUT(announced, QStringLiteral("RSR"), kBusWaitMs);
            QCOMPARE(logindInhibitors(delay), delayLock);
        }
        // Gone with the watch dog, or every later suspend would wait out logind's limit.
        QTRY_COMPARE_WITH_TIMEOUT(logindInhibitors(delay), QStringList(), kBusWaitMs);
    }
    void carriesOnWithoutServices_data() {
        QTest::addColumn<bool>("busesReachable");
        QTest::addColumn<QStringList>("gaps"); // what is reported, once per process

        QTest::newRow("no buses") << false
                                  << QStringList{QStringLiteral("suspend and resume not followed"),
                                                 QStringLiteral("system sleep not inhibited"),
                                                 QStringLiteral("screen saver not inhibited")};
        QTest::newRow("no logind") << true
                                   << QStringList{QStringLiteral("suspend and resume not followed"),
                                                  QStringLiteral("system sleep not inhibited")};
    }
    void carriesOnWithoutServices() {
        QFETCH(bool, busesReachable);
        QFETCH(QStringList, gaps);

        // The session bus stands in for a system bus without logind.
        const QString address =
            busesReachable ? sessionBus_->address()
                           : QStringLiteral("unix:path=") + dir_.filePath(QStringLiteral("absent"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(kScenarioVariable), kCarryOnScenario);
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
        ChildProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(child.waitForFinished(kChildRunTimeoutMs));
        const QString output = QString::fromUtf8(child.readAllStandardOutput());
        const QString errors = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 qPrintable(errors));

        QStringList reported;
        for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (line.startsWith(kGapLinePrefix))
                reported << line;
        }
        QVERIFY2(reported.size() == gaps.size(), qPrintable(reported.join(QLatin1Char('\n'))));
        for (const QString& gap : gaps) {
            QVERIFY2(reported.filter(gap).size() == 1,
                     qPrintable(gap + QStringLiteral(" in:\n") + reported.join(QLatin1Char('\n'))));
        }
        if (busesReachable)
            QCOMPARE(screenSaverInhibitions(), QStringList());
    }

    void terminationSignalQuitsEventLoop_data() {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("beforeLoop");

        QTest::newRow("SIGTERM") << int(SIGTERM) << false;
        QTest::newRow("SIGHUP") << int(SIGHUP) << false;
        QTest::newRow("SIGINT") << int(SIGINT) << false;
        // As during the start-up checks, before the event loop runs.
        QTest::newRow("SIGTERM before the loop") << int(SIGTERM) << true;
    }
    void terminationSignalQuitsEventLoop() {
        QFETCH(int, signalNumber);
        QFETCH(bool, beforeLoop);

        resetTerminationDispositions();
        SessionWatchDog watchDog(std::make_unique<platform::PowerEvents>());
        QObject context;
        if (beforeLoop)
            std::raise(signalNumber);
        else
            QTimer::singleShot(0, &context, [signalNumber] { std::raise(signalNumber); });
        QTimer::singleShot(kQuitWaitMs, &context, [] { QCoreApplication::exit(kLoopTimedOut); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }
    void ignoredSignalStaysIgnored() {
        resetTerminationDispositions();
        std::signal(SIGHUP, SIG_IGN);
        {
            SessionWatchDog watchDog(std::make_unique<platform::PowerEvents>());
            QObject context;
            QTimer::singleShot(0, &context, [] { std::raise(SIGHUP); });
            QTimer::singleShot(kIgnoredSignalWaitMs, &context,
                               [] { QCoreApplication::exit(kLoopStillRunning); });
            QCOMPARE(QCoreApplication::exec(), kLoopStillRunning);
        }
        QVERIFY(std::signal(SIGHUP, SIG_DFL) == SIG_IGN);
    }
    void replacedHandlerReturnsAfterwards() {
        resetTerminationDispositions();
        std::signal(SIGTERM, countForeignSignal);
        foreignHandlerCalls = 0;
        { SessionWatchDog watchDog(std::make_unique<platform::PowerEvents>()); }
        std::raise(SIGTERM);
        QCOMPARE(int(foreignHandlerCalls), 1);
        resetTerminationDispositions();
    }

private:
    bool startMock(const QDBusConnection& bus, const QString& service,
                   const QStringList& arguments) {
        mocks_.push_back(std::make_unique<ChildProcess>());
        mocks_.back()->start(kPython, QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock"),
                                                  QStringLiteral("-l"),
                                                  dir_.filePath(service + QStringLiteral(".log"))} +
                                          arguments);
        if (!mocks_.back()->waitForStarted(kStartTimeoutMs))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!bus.interface()->isServiceRegistered(service)) {
            if (waited.elapsed() > kStartTimeoutMs)
                return false;
            QTest::qWait(20);
        }
        return true;
    }

    QTemporaryDir dir_;
    std::unique_ptr<PrivateSessionBus> systemBus_;
    std::unique_ptr<PrivateSessionBus> sessionBus_;
    std::vector<std::unique_ptr<ChildProcess>> mocks_;
};

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (qEnvironmentVariable(kScenarioVariable) == kCarryOnScenario)
        return runCarryOnScenario();
    PowerTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_power.moc"
