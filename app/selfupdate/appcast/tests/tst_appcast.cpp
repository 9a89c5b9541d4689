#include "installer.h"
#include "messagelog.h"
#include "sessionsandbox.h"
#include "testhttpserver.h"
#include "updateengine.h"
#include "versioncompare.h"

#include <QtTest>
#include <QtWidgets>

using namespace appcast;

namespace {

const char kSettingsPath[] = "Software\\Maker\\Program\\Updater";

QStringList signatureChecks;
int signatureAnswer = 1;

int judgeSignature(const wchar_t* path, const char* signature) {
    signatureChecks << QString::fromWCharArray(path) + QLatin1Char('|') + QLatin1String(signature);
    return signatureAnswer;
}

// How far an update got.
enum Outcome { RejectedUnread, SignatureRefused, Installed };

struct RecordingInstaller : Installer {
    QStringList files;
    QByteArray installed;
    bool start(const QString& file, QString*) override {
        files << file;
        QFile package(file);
        if (package.open(QIODevice::ReadOnly))
            installed = package.readAll();
        return true;
    }
};

QByteArray item(const QString& version, const QString& url, qint64 length,
                const QString& os = QString(),
                const QString& notes = QStringLiteral("<description>Fixes things.</description>")) {
    return QStringLiteral(R"(<item><title>Version %1</title>%5
<enclosure url="%2" sparkle:version="%1" sparkle:shortVersionString="v%1" length="%3"
 sparkle:dsaSignature="c2lnbmF0dXJl" %4/></item>)")
        .arg(version, url)
        .arg(length)
        .arg(os.isEmpty() ? QString() : QStringLiteral("sparkle:os=\"%1\"").arg(os), notes)
        .toUtf8();
}

QByteArray feed(const QByteArray& items) {
    return R"(<?xml version="1.0"?><rss version="2.0" xmlns:sparkle="urn:appcast">
<channel><title>Program</title>)" +
           items + "</channel></rss>";
}

} // namespace

class AppcastTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(session_.isValid());
        session_.enter();
    }
    void init() {
        server_ = std::make_unique<TestHttpServer>();
        QVERIFY(server_->isListening());
        signatureChecks.clear();
        installer_ = std::make_shared<RecordingInstaller>();
        shutdowns_ = 0;
        QFile::remove(UpdateSettings::fileFor(QString::fromLatin1(kSettingsPath)));

        setAppcastUrl((server_->baseUrl() + QStringLiteral("/feed.xml")).toUtf8().constData());
        setAppDetails(L"Maker", L"Program", L"2.1");
        setAppBuildVersion(L"2.1.5");
        setRegistryPath(kSettingsPath);
        setUpdateCheckInterval(3600);
        setSignatureValidationCallback(judgeSignature);
        configuration().installer = installer_;
        configuration().shutdownRequest = [this] {
            ++shutdowns_;
        };
        configuration().fileLimits = {4096, std::chrono::milliseconds(300),
                                      std::chrono::milliseconds(5000)};
        appcast::init();
        MessageLog::clear();
        MessageLog::capture();
    }
    void cleanup() {
        MessageLog::release();
        appcast::cleanup();
        server_.reset();
    }

    void versionOrder() {
        // Numbers, not text; more parts; pre-releases first, in order, by number; leading zeros.
        for (const QString& pair :
             QStringLiteral("1.9<1.10 1.0<1.0.1 1.0b1<1.0 1.0a2<1.0b1 1.0b2<1.0b10 1.0b1<1.0.1 "
                            "1.99999999999999999998<1.99999999999999999999 1.02<1.3")
                 .split(' ')) {
            const QString older = pair.section('<', 0, 0), newer = pair.section('<', 1);
            QVERIFY2(compareVersions(older, newer) == -1 && compareVersions(newer, older) == 1 &&
                         compareVersions(newer, newer) == 0,
                     qPrintable(pair));
        }
    }
    void feedOffersOnlyANewerReleaseForThisSystem() {
        const QString url = QStringLiteral("http://host/p.deb");
        const QByteArray xml =
            feed(item("2.1.5", url, 1) + item("2.1.10", url, 1) + item("2.3", url, 1, "windows") +
                 item("2.2", url, 1, "linux") + "<item><title>no enclosure</title></item>");
        QString error;
        const auto items = parseAppcast(xml, &error);
        QVERIFY2(items, qPrintable(error));
        QCOMPARE(items->at(1).shortVersion, QStringLiteral("v2.1.10"));
        QCOMPARE(newestUpdate(*items, QStringLiteral("2.1.5"))->version, QStringLiteral("2.2"));
        QVERIFY(!newestUpdate(*items, QStringLiteral("2.2")));
    }
    void checksShowWhatTheyFound() {
        // Newer: even a quiet check asks the user; a skipped version only an explicit check, also
        // after a restart.
        serveUpdate("package", 7);
        check(false, 0);
        QVERIFY(offered());
        visibleButton("skipButton")->click();
        QVERIFY(!UpdateEngine::current()->window()->isVisible());
        appcast::cleanup();
        appcast::init();
        check(false, 1);
        QVERIFY(!offered());
        check(true, 2);
        QVERIFY(offered());
        visibleButton("laterButton")->click();

        // Without a description, the release notes come from their link.
        server_->setResponse("/notes.html", {200, "<ul><li>Sharper picture</li></ul>"});
        server_->setResponse("/feed.xml",
                             {200, feed(item("2.2.0", "http://h/p", 1, {},
                                             "<sparkle:releaseNotesLink>" + server_->baseUrl() +
                                                 "/notes.html</sparkle:releaseNotesLink>"))});
        check(true, 3);
        QTRY_VERIFY(part<QTextBrowser>("releaseNotes")->toPlainText().contains("Sharper picture"));
        visibleButton("laterButton")->click();

        // The same version: "up to date" when asked.
        server_->setResponse("/feed.xml", {200, feed(item("2.1.5", "http://h/p", 1))});
        check(true, 5);
        QVERIFY(visibleButton("closeButton") && !offered());
        visibleButton("closeButton")->click();

        // Damaged information: an error window only when the user asked.
        server_->setResponse("/feed.xml", {200, "<html><body>Not found</body></html>"});
        check(false, 6);
        QVERIFY(!visibleButton("closeButton"));
        check(true, 7);
        QVERIFY(visibleButton("closeButton") && part<QLabel>("errorText")->isVisible());
    }
    void installNeedsTheAnnouncedBytesAndTheSignature() {
        // Bytes sent and announced, whether the download stalls, the signature check's answer.
        const struct {
            int bytes, announced;
            bool stall;
            int answer;
            Outcome outcome;
        } cases[] = {{3000, 3000, false, 0, SignatureRefused},
                     {3000, 3001, false, 1, RejectedUnread}, // short
                     {3000, 2999, false, 1, RejectedUnread}, // long
                     {5000, 5000, false, 1, RejectedUnread}, // over the cap
                     {3000, 3000, true, 1, RejectedUnread},  // stalled
                     {3000, 3000, false, 1, Installed}};     // last, looked at closer below
        for (const auto& c : cases) {
            cleanup();
            init();
            signatureAnswer = c.answer;
            serveUpdate(QByteArray(c.bytes, 'p'), c.announced, c.stall);
            check(true, 0);
            visibleButton("installButton")->click();
            QTRY_VERIFY(!visibleButton("cancelButton") ||
                        !UpdateEngine::current()->window()->isVisible());

            const int signed_ = c.outcome != RejectedUnread, installed = c.outcome == Installed;
            QVERIFY2(signatureChecks.size() == signed_ && shutdowns_ == installed &&
                         installer_->files.size() == installed &&
                         (installed || visibleButton("closeButton")),
                     QByteArray::number(int(&c - cases)));
        }
        const QString file = installer_->files.front();
        QCOMPARE(signatureChecks.front(), file + QStringLiteral("|c2lnbmF0dXJl"));
        QCOMPARE(installer_->installed, QByteArray(3000, 'p'));
        // Only the owner may read it before it is installed.
        QCOMPARE(QFileInfo(QFileInfo(file).path()).permissions() &
                     (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        QCOMPARE(part<QProgressBar>("downloadProgress")->value(), 1000);
    }
    void automaticChecksFollowTheInterval() {
        // Due: checked at once, and the next one is an interval away. (The program's own tests show
        // that a check that is not due does not happen.)
        serveUpdate("package", 7);
        UpdateSettings settings(QString::fromLatin1(kSettingsPath));
        settings.setLastCheckTime(QDateTime::currentDateTimeUtc().addSecs(-3700));
        setAutomaticCheckForUpdates(1);
        waitForCheck(0);
        QVERIFY(offered());
        QVERIFY(settings.lastCheckTime().secsTo(QDateTime::currentDateTimeUtc()) < 60);
    }

private:
    template <class Part> Part* part(const char* name) const {
        return UpdateEngine::current()->window()->findChild<Part*>(QLatin1String(name));
    }
    QPushButton* visibleButton(const char* name) const {
        UpdateWindow* window = UpdateEngine::current()->window();
        for (QPushButton* button : window ? window->findChildren<QPushButton*>(QLatin1String(name))
                                          : QList<QPushButton*>())
            if (window->isVisible() && button->isVisible())
                return button;
        return nullptr;
    }
    void serveUpdate(const QByteArray& body, qint64 announcedLength, bool stall = false) {
        server_->setResponse("/update.deb", {200, body, stall, true});
        server_->setResponse(
            QStringLiteral("/feed.xml"),
            {200, feed(item("2.2.0", server_->baseUrl() + "/update.deb", announcedLength))});
    }
    bool offered() const { return visibleButton("installButton") != nullptr; }
    // A check, quiet or asked for by the user, until it is decided.
    void check(bool asked, int requestsBefore) {
        asked ? checkUpdateWithUi() : checkUpdateWithoutUi();
        waitForCheck(requestsBefore);
    }
    void waitForCheck(int requestsBefore) {
        QTRY_VERIFY(server_->requests().size() > requestsBefore);
        QTRY_VERIFY(
            !MessageLog::lines()
                 .filter(QStringLiteral("Software update:"))
                 .filter(QRegularExpression(QStringLiteral("up to date|offering|failed|skipped")))
                 .isEmpty());
        MessageLog::clear();
    }

    SessionSandbox session_;
    std::unique_ptr<TestHttpServer> server_;
    std::shared_ptr<RecordingInstaller> installer_;
    int shutdowns_ = 0;
};

QTEST_MAIN(AppcastTest)
#include "tst_appcast.moc"
