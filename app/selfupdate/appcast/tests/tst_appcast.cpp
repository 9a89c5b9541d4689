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
    bool start(const QString& file, const QString&, QString*) override {
        files << file;
        QFile package(file);
        if (package.open(QIODevice::ReadOnly))
            installed = package.readAll();
        return true;
    }
};

QByteArray item(const QString& version, const QString& url, qint64 length,
                const QString& os = QString(),
                const QString& notes = QStringLiteral("<description>Fixes things.</description>"),
                const QString& edSignature = QString()) {
    return QStringLiteral(R"(<item><title>Version %1</title>%5
<enclosure url="%2" sparkle:version="%1" sparkle:shortVersionString="v%1" length="%3"
 sparkle:dsaSignature="c2lnbmF0dXJl" %4 %6/></item>)")
        .arg(version, url)
        .arg(length)
        .arg(os.isEmpty() ? QString() : QStringLiteral("sparkle:os=\"%1\"").arg(os), notes,
             edSignature.isEmpty() ? QString()
                                   : QStringLiteral("sparkle:edSignature=\"%1\"").arg(edSignature))
        .toUtf8();
}

// The Ed25519 signature of `bytes` under a key of the test data, as a feed carries it.
QString edSign(const QByteArray& bytes, const char* key) {
    QTemporaryFile file;
    QProcess openssl;
    if (!file.open() || file.write(bytes) != bytes.size() || !file.flush())
        return {};
    openssl.start("openssl",
                  {"pkeyutl", "-sign", "-rawin", "-inkey",
                   QStringLiteral(TEST_DATA_DIR "/keys/") + key, "-in", file.fileName()});
    openssl.waitForFinished();
    return QString::fromLatin1(openssl.readAllStandardOutput().toBase64());
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
        QFile::remove(UpdateSettings::installOutcomeFileFor(QString::fromLatin1(kSettingsPath)));

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
    void feedTable() {
        // What an item says, as today's and older feeds write it, and what becomes of it for an
        // installation of 2.1.5 on system 12, rollout group 3, checking automatically.
        enum Tweak { None, FollowsBeta, NoEdKey, NoDsaCheck, UserAsked };
        const QByteArray v = "<sparkle:version>2.2</sparkle:version>",
                         deb = R"(<enclosure url="c.deb" sparkle:dsaSignature="ZA=="/>)",
                         // Began an hour ago, two hours a group.
            phased = v + deb +
                     "<pubDate>Mon, 07 Dec 2026 23:00:00 +0000</pubDate>"
                     "<sparkle:phasedRolloutInterval>7200</sparkle:phasedRolloutInterval>";
        const auto el = [](const char* name, const char* value) {
            return QByteArray("<sparkle:") + name + ">" + value + "</sparkle:" + name + ">";
        };
        const auto enclosure = [](const char* attributes) {
            return QByteArray(R"(<enclosure sparkle:dsaSignature="ZA==" )") + attributes + "/>";
        };
        const struct {
            QByteArray xml;
            Verdict verdict;
            Tweak tweak;
        } rows[] = {
            {v + deb, Verdict::Offered, None},
            {enclosure(R"(url="c.deb" sparkle:version="2.2")"), Verdict::Offered, None},
            {el("version", "2.0") + enclosure(R"(url="c.deb" sparkle:version="2.9")"),
             Verdict::NotNewer, None},
            {v + deb + el("channel", "beta"), Verdict::OtherChannel, None},
            {v + deb + el("channel", "beta"), Verdict::Offered, FollowsBeta},
            {v + deb + el("minimumSystemVersion", "13"), Verdict::SystemTooOld, None},
            {v + deb + el("maximumSystemVersion", "11"), Verdict::SystemTooNew, None},
            {v + "<link>/news</link><sparkle:informationalUpdate/>", Verdict::Offered, NoDsaCheck},
            {v + enclosure(R"(url="c.zip" sparkle:os="macos")"), Verdict::OtherSystem, None},
            {v + enclosure(R"(url="c.zip")"), Verdict::OtherSystem, None},
            {v + enclosure(R"(url="c.tar.gz" sparkle:os="linux")"), Verdict::Offered, None},
            {v + R"(<enclosure url="c.deb" sparkle:edSignature="ZA=="/>)", Verdict::Offered,
             NoDsaCheck},
            {v + R"(<enclosure url="c.deb" sparkle:edSignature="ZA=="/>)",
             Verdict::NoCheckableSignature, NoEdKey},
            {v + deb, Verdict::NoCheckableSignature, NoDsaCheck},
            {phased, Verdict::NotRolledOutYet, None},
            {phased, Verdict::Offered, UserAsked},
            {phased + "<sparkle:criticalUpdate/>", Verdict::Offered, None},
        };
        QList<AppcastItem> parsed;
        for (const auto& row : rows) {
            Audience audience{
                "2.1.5", "12", {}, 3, QDateTime(QDate(2026, 12, 8), QTime(0, 0), Qt::UTC)};
            audience.channels = row.tweak == FollowsBeta ? QStringList{"beta"} : QStringList();
            audience.checksDsa = row.tweak != NoDsaCheck;
            audience.checksEd = row.tweak != NoEdKey;
            audience.userAsked = row.tweak == UserAsked;
            const auto items =
                parseAppcast(feed("<item>" + row.xml + "</item>"),
                             {QUrl("https://updates.example/feeds/a.xml"), "de_DE"}, nullptr);
            QVERIFY2(items && items->size() == 1, row.xml.constData());
            QVERIFY2(judge(items->front(), audience) == row.verdict, row.xml.constData());
            parsed << items->front();
        }
        // Relative links resolve against the feed; the element's version wins.
        QCOMPARE(parsed[0].fileUrl, QUrl("https://updates.example/feeds/c.deb"));
        QCOMPARE(parsed[2].version, QStringLiteral("2.0"));
        QCOMPARE(parsed[7].link, QUrl("https://updates.example/news"));
        QVERIFY(parsed[7].isInformationalFor("2.1.5") && parsed.last().isCriticalFor("2.1.5"));

        // Critical or informational only below their versions; the notes in the user's language;
        // the description's format.
        const auto items = parseAppcast(
            feed("<item>" + v +
                 R"(<sparkle:criticalUpdate sparkle:version="2.1"/><sparkle:informationalUpdate>
                <sparkle:belowVersion>2.0</sparkle:belowVersion></sparkle:informationalUpdate>
                <sparkle:releaseNotesLink>en.html</sparkle:releaseNotesLink>
                <sparkle:releaseNotesLink xml:lang="de">de.html</sparkle:releaseNotesLink>
                <description sparkle:format="plain-text">1 &lt; 2</description></item>)"),
            {QUrl("https://updates.example/a.xml"), "de_DE"}, nullptr);
        const AppcastItem& item = items->front();
        QVERIFY(!item.isCriticalFor("2.1.5") && item.isCriticalFor("2.0.9") &&
                !item.isInformationalFor("2.1.5") && item.isInformationalFor("1.9"));
        QCOMPARE(item.releaseNotesUrl, QUrl("https://updates.example/de.html"));
        QVERIFY(item.descriptionIsPlainText);
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

        // Without a description, the release notes come from their link; what they name is not
        // loaded, and the feed's text is shown as text.
        const QString image = session_.path("picture.png");
        QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(image));
        server_->setResponse(
            "/notes.html",
            {200, "<ul><li>Sharper picture</li></ul><img src=\"file://" + image.toUtf8() + "\">"});
        server_->setResponse("/feed.xml",
                             {200, feed(item("2.2.0", "http://h/p.deb", 1, {},
                                             "<sparkle:releaseNotesLink>" + server_->baseUrl() +
                                                 "/notes.html</sparkle:releaseNotesLink>"))});
        check(true, 3);
        QTRY_VERIFY(part<QTextBrowser>("releaseNotes")->toPlainText().contains("Sharper picture"));
        QVERIFY(part<QTextBrowser>("releaseNotes")
                    ->document()
                    ->resource(QTextDocument::ImageResource, QUrl::fromLocalFile(image))
                    .isNull());
        visibleButton("laterButton")->click();
        server_->setResponse(
            "/feed.xml", {200, feed("<item><enclosure url='http://h/p.deb' sparkle:version='2.2.1' "
                                    "sparkle:shortVersionString='&lt;b>2.2&lt;/b>' "
                                    "sparkle:dsaSignature='c2ln'/></item>")});
        check(true, 5);
        QVERIFY(offered() && part<QLabel>("offerText")->textFormat() == Qt::PlainText);
        QVERIFY(part<QLabel>("offerText")->text().contains("<b>2.2</b> is now available"));
        visibleButton("laterButton")->click();

        // The same version: "up to date" when asked.
        server_->setResponse("/feed.xml", {200, feed(item("2.1.5", "http://h/p.deb", 1))});
        check(true, 6);
        QVERIFY(visibleButton("closeButton") && !offered());
        visibleButton("closeButton")->click();

        // Damaged information: an error window only when the user asked.
        server_->setResponse("/feed.xml", {200, "<html><body>Not found</body></html>"});
        check(false, 7);
        QVERIFY(!visibleButton("closeButton"));
        check(true, 8);
        QVERIFY(visibleButton("closeButton") && part<QLabel>("errorText")->isVisible());
    }
    void installNeedsTheAnnouncedBytesAndTheSignature() {
        // Bytes sent and announced, whether the download stalls, the DSA check's answer (only 1
        // accepts) and the Ed25519 signature's key, which accepts on its own.
        const struct {
            int bytes, announced;
            bool stall;
            int answer;
            const char* edKey;
            Outcome outcome;
        } cases[] = {{3000, 3000, false, 0, nullptr, SignatureRefused},
                     {3000, 3000, false, 2, nullptr, SignatureRefused},
                     {3000, 3000, false, -1, "update-other-ed25519.pem", SignatureRefused},
                     {3000, 3000, false, 0, "update-dev-ed25519.pem", Installed},
                     {3000, 3001, false, 1, nullptr, RejectedUnread}, // short
                     {3000, 2999, false, 1, nullptr, RejectedUnread}, // long
                     {5000, 5000, false, 1, nullptr, RejectedUnread}, // over the cap
                     {3000, 3000, true, 1, nullptr, RejectedUnread},  // stalled
                     {3000, 3000, false, 1, nullptr, Installed}}; // last, looked at closer below
        QFile edKey(TEST_DATA_DIR "/keys/update-dev-ed25519.pub.pem");
        QVERIFY(edKey.open(QIODevice::ReadOnly) &&
                setEdDsaPublicKey(edKey.readAll().constData()) == 1);
        for (const auto& c : cases) {
            cleanup();
            init();
            signatureAnswer = c.answer;
            const QByteArray package(c.bytes, 'p');
            serveUpdate(package, c.announced, c.stall, c.edKey ? edSign(package, c.edKey) : "");
            check(true, 0);
            visibleButton("installButton")->click();
            QTRY_VERIFY(!visibleButton("cancelButton") ||
                        !UpdateEngine::current()->window()->isVisible());

            const int signed_ = c.outcome != RejectedUnread, installed = c.outcome == Installed;
            QVERIFY2(signatureChecks.size() == signed_ && shutdowns_ == installed &&
                         installer_->files.size() == installed &&
                         UpdateEngine::current()->state() ==
                             (installed ? EngineState::Installing : EngineState::Failed) &&
                         (installed || visibleButton("closeButton")),
                     QByteArray::number(int(&c - cases)));
        }
        configuration().edPublicKey.clear();
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

    void onlyWebAddressesAreRead() {
        // A feed that points at local files or other schemes, directly or by a redirect.
        const QString secret = session_.path("secret.txt");
        QFile file(secret);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("root:x:0:0") > 0);
        file.close();
        const QString base = server_->baseUrl();
        server_->setResponse("/moved.deb",
                             {302, {}, false, true, false, "file://" + secret.toUtf8()});
        server_->setResponse("/moved.html", {302, {}, false, true, false, "ftp://h/notes.html"});
        int requests = 0;
        for (const QString& enclosure :
             {"file://" + secret, QStringLiteral("ftp://h/p.deb"), base + "/moved.deb"}) {
            for (const QString& notes : {"file://" + secret, base + "/moved.html"}) {
                server_->setResponse("/feed.xml",
                                     {200, feed(item("2.2", enclosure, 0, "linux",
                                                     "<sparkle:releaseNotesLink>" + notes +
                                                         "</sparkle:releaseNotesLink>"))});
                check(true, requests);
                QTRY_VERIFY(part<QTextBrowser>("releaseNotes")->isVisible());
                QVERIFY(!part<QTextBrowser>("releaseNotes")->toPlainText().contains("root"));
                visibleButton("installButton")->click();
                QTRY_VERIFY(visibleButton("closeButton"));
                QVERIFY2(!part<QLabel>("errorText")->text().contains("root") &&
                             signatureChecks.isEmpty() && installer_->files.isEmpty(),
                         qPrintable(enclosure + " " + notes));
                visibleButton("closeButton")->click();
                requests = server_->requests().size();
            }
        }
    }
    void failedInstallIsToldOnceAndHeldBack() {
        // pkexec as when the user cancels (126), or running an apt-get that fails (100).
        const QString bin = session_.path("bin"),
                      outcome =
                          UpdateSettings::installOutcomeFileFor(QString::fromLatin1(kSettingsPath));
        const QByteArray path = qgetenv("PATH");
        QVERIFY(QDir().mkpath(bin));
        for (const auto& [tool, script] :
             {std::pair{"pkexec", "[ -n \"$CANCEL\" ] && exit 126; exec \"$@\""},
              {"apt-get", "echo 'E: Broken packages' >&2; exit 100"}}) {
            QFile fake(bin + "/" + tool);
            QVERIFY(fake.open(QIODevice::WriteOnly) &&
                    fake.write("#!/bin/sh\n" + QByteArray(script)));
            fake.setPermissions(fake.permissions() | QFile::ExeOwner);
        }
        qputenv("PATH", bin.toUtf8() + ":" + path);
        for (const char* reason : {"password was not given", "E: Broken packages"}) {
            qputenv("CANCEL", reason[0] == 'p' ? "1" : "");
            qint64 programPid = 0;
            QVERIFY(QProcess::startDetached("sleep", {"0.1"}, {}, &programPid));
            configuration().installer =
                std::make_shared<PackageInstaller>(outcome, programPid, "/bin/true");
            appcast::cleanup();
            appcast::init();
            serveUpdate("package", 7);
            check(true, 0);
            visibleButton("installButton")->click();
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(outcome), 20000);

            // The restarted program tells why, once, and automatic checks leave the version be.
            appcast::cleanup();
            appcast::init();
            const QString told =
                visibleButton("closeButton") ? part<QLabel>("errorText")->text() : "";
            QVERIFY2(told.contains(reason) && told.contains("sudo apt-get install /"),
                     qPrintable(told));
            appcast::cleanup();
            appcast::init();
            QVERIFY(!UpdateEngine::current()->window());
            MessageLog::clear();
            check(false, 2);
            QVERIFY(!offered());
            check(true, 3);
            QVERIFY(offered());
            cleanup();
            init();
        }
        qputenv("PATH", path);
    }
    void checksOffEndsTheCheckAndTheOffer() {
        serveUpdate("package", 7);
        check(false, 0);
        QVERIFY(offered());
        setAutomaticCheckForUpdates(0);
        QVERIFY(!offered() && UpdateEngine::current()->state() == EngineState::Idle);

        server_->setResponse("/feed.xml", {200, feed(item("2.2", "http://h/p.deb", 1)), true});
        checkUpdateWithUi();
        QTRY_COMPARE(server_->requests().size(), 2);
        setAutomaticCheckForUpdates(0);
        QVERIFY(!UpdateEngine::current()->window()->isVisible() &&
                UpdateEngine::current()->state() == EngineState::Idle);
    }
    void windowsFitTheirPages() {
        // Screenshots of every page, the offer also in German; a page of one line is small.
        QDir().mkpath(ARTIFACTS_DIR);
        const auto shoot = [](const char* name) {
            UpdateWindow* window = UpdateEngine::current()->window();
            window->grab().save(QStringLiteral(ARTIFACTS_DIR "/update-%1.png").arg(name));
            return window->size();
        };
        server_->setResponse("/feed.xml", {200, feed(item("2.1.5", "http://h/p.deb", 1))});
        check(true, 0);
        const QSize upToDate = shoot("up-to-date");
        QVERIFY2(upToDate.height() < 200 && upToDate.width() < 640,
                 qPrintable(QString("%1x%2").arg(upToDate.width()).arg(upToDate.height())));
        server_->setResponse("/feed.xml", {200, "not a feed"});
        check(true, 1);
        QVERIFY(shoot("error").height() < 300);
        server_->setResponse(
            "/feed.xml",
            {200, feed(item("2.2.0", "http://h/p.deb", 1, {},
                            "<description>&lt;h3>Sharper picture&lt;/h3>&lt;ul>&lt;li>Sound "
                            "in step with the picture&lt;/li>&lt;li>Faster start&lt;/li>&lt;/"
                            "ul></description>"))});
        check(true, 2);
        shoot("release-notes");

        QTranslator german;
        QVERIFY(german.load(":/tr/application_de.qm"));
        QCoreApplication::installTranslator(&german);
        appcast::cleanup();
        appcast::init();
        check(true, 3);
        shoot("offer-de");
        const QString heading = part<QLabel>("offerHeading")->text();
        QCoreApplication::removeTranslator(&german);
        QVERIFY2(heading.startsWith("Eine neue Version"), qPrintable(heading));
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
    void serveUpdate(const QByteArray& body, qint64 announcedLength, bool stall = false,
                     const QString& edSignature = {}) {
        server_->setResponse("/update.deb", {200, body, stall, true});
        server_->setResponse(QStringLiteral("/feed.xml"),
                             {200, feed(item("2.2.0", server_->baseUrl() + "/update.deb",
                                             announcedLength, {}, {}, edSignature))});
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
