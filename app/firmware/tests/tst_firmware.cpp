#include "aboutbox.h"
#include "fakelibrary.h"
#include "fwautoupdater.h"
#include "fwchecker.h"
#include "fwdownloader.h"
#include "fwupdatecontroller.h"
#include "messagelog.h"
#include "opensslutil.h"
#include "sessionsandbox.h"
#include "settings.h"
#include "testhttpserver.h"

#include <QPushButton>
#include <QtTest>

using namespace std::chrono_literals;
using Response = TestHttpServer::Response;

namespace {

const QString kDevKey = QStringLiteral(TEST_DATA_DIR "/keys/firmware-dev.pem");
const QString kOtherKey = QStringLiteral(TEST_DATA_DIR "/keys/firmware-other.pem");
const QString kImagePath =
    QStringLiteral("/quendral/vc/086c/01.02.034/0/w10/64/mcr_flashimage.bin");
const QString kSignaturePath = kImagePath + QStringLiteral(".sig");
const QByteArray kImage = QByteArray("AIT842VER\x01\x03\x00", 12) + QByteArray(4000, '\x5a');
const QString kRejectedText =
    QStringLiteral("The downloaded firmware's signature is not valid, so it was not installed.");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The signature file the maker's script writes for `image`; `form` is one of its options.
QByteArray sign(const QByteArray& image, const QString& key, const char* form = nullptr) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("image.bin")));
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size())
        return QByteArray();
    file.close();
    QStringList arguments{key, file.fileName()};
    if (form)
        arguments.prepend(QLatin1String(form));
    if (QProcess::execute(QStringLiteral(SIGN_SCRIPT), arguments) != 0)
        return QByteArray();
    return readFile(file.fileName() + QStringLiteral(".sig"));
}

// The update's course: the auto-updater's log lines and the controller's signals, in the order
// they came, repeats folded.
QStringList course() {
    QStringList result;
    for (const QString& line : MessageLog::lines().filter(
             QRegularExpression(QStringLiteral("^(FW AutoUpdate:|signal )"))))
        if (result.isEmpty() || result.last() != line)
            result << line;
    return result;
}

} // namespace

class FirmwareTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(session_.isValid());
        session_.enter();
    }
    void init() {
        server_ = std::make_unique<TestHttpServer>();
        QVERIFY(server_->isListening());
        qputenv("CASTWELL_UPDATE_SERVER", server_->baseUrl().toUtf8());
        FakeLibrary::install();
        Settings::instance()->setAutoUpdateFW(true);
        Settings::instance()->setLastFWUpdateCheck(QDateTime());
        MessageLog::clear();
        MessageLog::capture();
    }
    void cleanup() { MessageLog::release(); }

    void signatureForms() {
        QByteArray modulus, exponent;
        QVERIFY(OpenSSLUtil::rsaPublicKeyNumbers(
            readFile(QStringLiteral(TEST_DATA_DIR "/keys/firmware-dev.pub.pem")), &modulus,
            &exponent));
        const auto verify = [&](const QByteArray& image, const QByteArray& signature) {
            return FWChecker::verify(image, signature, modulus, exponent);
        };
        const QByteArray standard = sign(kImage, kDevKey);
        const QByteArray bare = sign(kImage, kDevKey, "--digest-only");

        // Every form of the maker's signature passes, each said in the log, spaced text too.
        QVERIFY(verify(kImage, standard) &&
                MessageLog::contains(QStringLiteral("FWChecker: MD5_ASN1 signature match")));
        QVERIFY(verify(kImage, bare) &&
                MessageLog::contains(QStringLiteral("FWChecker: MD5 signature match")));
        QVERIFY(verify(kImage, sign(kImage, kDevKey, "--sha256")) &&
                MessageLog::contains(QStringLiteral("FWChecker: SHA256_ASN1 signature match")));
        QByteArray spaced = standard;
        for (int i = spaced.size() - 2; i > 0; i -= 2)
            spaced.insert(i, i % 32 ? " " : "\r\n");
        QVERIFY(verify(kImage, spaced));

        QByteArray tampered = kImage;
        tampered[100] = 'z';
        QVERIFY(!verify(tampered, standard) && !verify(tampered, bare));
        QVERIFY(!verify(kImage, sign(kImage, kOtherKey)) &&
                !verify(kImage, sign(kImage, kOtherKey, "--digest-only")) &&
                !verify(kImage, QByteArray()));
        // A bare digest that is right in its first half only (signed with the development key).
        QVERIFY(
            !verify(kImage, readFile(QStringLiteral(TEST_DATA_DIR "/firmware/half-digest.sig"))));

        // Least significant byte first: a byte more at the text's end makes a longer block.
        MessageLog::clear();
        QVERIFY(!verify(kImage, standard.trimmed() + "01"));
        QCOMPARE(MessageLog::lines(),
                 (QStringList{QStringLiteral("OpenSSLUtil: Failed to decrypt data"),
                              QStringLiteral("FWChecker: failed to verify FW signature")}));

        // The release key is beyond a factoring run; a key that is not verifies nothing.
        const auto keyNumbers = [&](const char* pem) {
            return OpenSSLUtil::rsaPublicKeyNumbers(readFile(QLatin1String(pem)), &modulus,
                                                    &exponent);
        };
        QVERIFY(keyNumbers(RELEASE_KEY) && modulus.size() >= 384 && uchar(modulus[0]) >= 0x80);
        QVERIFY(
            keyNumbers(TEST_DATA_DIR "/keys/firmware-weak.pub.pem") &&
            !verify(kImage, sign(kImage, QStringLiteral(TEST_DATA_DIR "/keys/firmware-weak.pem"))));
    }
    void downloaderAgainstServer() {
        const DeviceInfo device{true, false, {}, {1, 2, 34}};
        FWDownloader downloader;
        // Image, texts, stall. A download stalled for the next steps must stay in flight however
        // slowly a loaded machine runs them.
        downloader.setLimits({64 * 1024, 1024, 60s});
        QSignalSpy available(&downloader, &FWDownloader::newVersionAvailable);
        QSignalSpy noResult(&downloader, &FWDownloader::checkFinishNoResult);
        QSignalSpy downloaded(&downloader, &FWDownloader::newVersionDownloaded);
        QSignalSpy failed(&downloader, &FWDownloader::newVersionDownloadFailed);

        server_->setResponse(kSignaturePath, {});
        downloader.checkForUpdate(device);
        QTRY_COMPARE(available.count(), 1);
        QCOMPARE(server_->requests(), QStringList{kSignaturePath});

        // A download in flight refuses checks; a second download ends the first as failed.
        const Response stalled{200, QByteArray(1000, 'x'), true, true};
        server_->setResponse(kImagePath, stalled);
        downloader.download(device);
        QTRY_VERIFY(server_->requests().contains(kImagePath));
        downloader.checkForUpdate(device);
        QCOMPARE(noResult.count(), 1);
        server_->setResponse(kImagePath, {200, "second image", false, true});
        server_->setResponse(kSignaturePath, {200, "0a1b", false, true});
        downloader.download(device);
        QCOMPARE(failed.count(), 1);
        QTRY_COMPARE(downloaded.count(), 1);
        QCOMPARE(downloader.result(), qMakePair(QByteArray("second image"), QByteArray("0a1b")));

        // Too large (announced, or only sent) or stalled: failures, soon. A signature is held
        // to the texts' limit, not the image's.
        const QByteArray huge(1 << 20, 'x');
        const Response image{200, "image", false, true};
        const Response signature{200, "0a1b", false, true};
        downloader.setLimits({64 * 1024, 1024, 300ms});
        QElapsedTimer elapsed;
        elapsed.start();
        for (const auto& [imageFault, signatureFault] :
             {std::pair(Response{200, huge, false, true}, signature),
              std::pair(Response{200, huge, false, false}, signature),
              std::pair(stalled, signature),
              std::pair(image, Response{200, QByteArray(2048, '0'), false, false})}) {
            server_->setResponse(kImagePath, imageFault);
            server_->setResponse(kSignaturePath, signatureFault);
            const int failures = failed.count();
            downloader.download(device);
            QTRY_COMPARE(failed.count(), failures + 1);
        }
        QVERIFY(elapsed.elapsed() < 4000);
        QCOMPARE(downloaded.count(), 1);
        server_->setResponse(kSignaturePath, {200, huge, false, false});
        downloader.checkForUpdate(device);
        QTRY_COMPARE(noResult.count(), 2);
        QCOMPARE(available.count(), 1);
    }
    void autoUpdateCheckSchedule() {
        Settings* settings = Settings::instance();
        FakeLibrary::instance().present = false;
        const auto controller = makeController();

        // Never checked: checks at once and stores the time, even without a device to ask about.
        controller->autoUpdater()->tick();
        QCOMPARE(settings->lastFWUpdateCheck(), now_);

        // The device's arrival makes a check of its own, in its version's directory; while the
        // server does not answer it, it is made again after each pause (other checks are not).
        server_->setResponse(kSignaturePath, {503, "not yet"});
        FakeLibrary::instance().present = true;
        controller->handleDeviceChanged();
        QTRY_COMPARE(server_->requests().count(kSignaturePath), 4);

        // Due only when more than 15 days have passed.
        const QDateTime fifteenDaysAgo = now_.addSecs(-1296000);
        settings->setLastFWUpdateCheck(fifteenDaysAgo);
        controller->autoUpdater()->tick();
        QCOMPARE(settings->lastFWUpdateCheck(), fifteenDaysAgo);
        settings->setLastFWUpdateCheck(fifteenDaysAgo.addSecs(-1));
        MessageLog::clear();
        controller->autoUpdater()->tick();
        QCOMPARE(settings->lastFWUpdateCheck(), now_);
        QTRY_VERIFY(
            MessageLog::contains(QStringLiteral("FW AutoUpdate: no new version available")));
        QTest::qWait(30);
        QCOMPARE(server_->requests().size(), 5);
    }
    void autoInstallWaitsForResume() {
        const auto controller = makeController();
        // Refreshes: at the arrival, and after each flash (the device comes back with another
        // version).
        QSignalSpy refreshes(controller.get(), &FWUpdateController::deviceInfoUpdated);
        controller->handleDeviceChanged();
        QTRY_COMPARE(server_->requests().size(), 1);

        // Found by an automatic check while installs are paused: delayed until resumed.
        server_->setResponse(kImagePath, {200, kImage, false, true});
        server_->setResponse(kSignaturePath, {200, sign(kImage, kDevKey), false, true});
        MessageLog::clear();
        controller->autoUpdater()->tick();
        QTRY_VERIFY(course().contains(QStringLiteral("signal updateAvailable")));
        QCOMPARE(course().mid(1, 2).join(QLatin1Char('|')),
                 QStringLiteral("FW AutoUpdate: installing new FW|FW AutoUpdate: update delayed"));
        MessageLog::clear();
        FakeLibrary::instance().pollsPerFlash = 1 << 30;
        controller->resumeAutoUpdater();
        QTRY_COMPARE(FakeLibrary::instance().flashesStarted.load(), 1);
        // The device comes back from the flash running 1.3.0, and the server is asked about that.
        FakeLibrary::instance().version = 0x00000301;
        FakeLibrary::instance().pollsPerFlash = 2;
        FakeLibrary::instance().pollsLeft = 0;
        QTRY_VERIFY(course().contains(QStringLiteral("signal installSuccess")));
        QCOMPARE(course().first(),
                 QStringLiteral("FW AutoUpdate: installing update from 1.2.34 version"));
        const QString nextImage =
            QString(kImagePath).replace(QLatin1String("01.02.034"), QLatin1String("01.03.000"));
        QTRY_VERIFY(server_->requests().contains(nextImage + QStringLiteral(".sig")));
        QCOMPARE(refreshes.count(), 2);

        // Newer firmware for 1.3.0, found while installs are allowed: installed at once, and the
        // news of it comes after the install began. A share that begins during the download holds
        // the flash back until it ends.
        server_->setResponse(nextImage, {200, kImage + "next", false, true});
        server_->setResponse(nextImage + QStringLiteral(".sig"),
                             {200, sign(kImage + "next", kDevKey, "--digest-only"), false, true});
        Settings::instance()->setLastFWUpdateCheck(QDateTime());
        MessageLog::clear();
        QMetaObject::Connection shareBegins;
        shareBegins = connect(controller.get(), &FWUpdateController::updateStart, [&] {
            controller->pauseAutoUpdater();
            disconnect(shareBegins);
        });
        controller->autoUpdater()->tick();
        QTRY_VERIFY(course().contains(QStringLiteral("signal installPostponed")));
        QTest::qWait(20);
        QCOMPARE(FakeLibrary::instance().flashesStarted.load(), 1);
        controller->resumeAutoUpdater();
        QTRY_VERIFY(course().contains(QStringLiteral("signal installSuccess")));
        // Then (the fake device being still at 1.3.0) the same news again, from the check after
        // the flash.
        QCOMPARE(course().mid(0, 11).join(QLatin1Char('|')),
                 QStringLiteral("FW AutoUpdate: check for new version|FW AutoUpdate: installing "
                                "new FW|FW AutoUpdate: installing update from 1.3.0 version|signal "
                                "updateStart|signal updateAvailable|signal downloadProgress|signal "
                                "installPostponed|signal updateStart|signal installProgress "
                                "1|signal installProgress 50|signal installSuccess"));
        QTRY_COMPARE(refreshes.count(), 3);
        QCOMPARE(FakeLibrary::instance().flashesStarted.load(), 2);
        QCOMPARE(server_->requests().count(nextImage), 1);
    }
    // The About box's button appears once an update is known and installs it, once: while it
    // installs there is no offer, and a second request is refused without a word of failure.
    void aboutBoxInstallsOnce() {
        Settings::instance()->setAutoUpdateFW(false);
        const auto controller = makeController();
        AboutBox about;
        controller->connectAboutBox(&about);
        auto* update = about.findChild<QPushButton*>(QStringLiteral("btn_update_fw"));
        QVERIFY(update && update->isHidden());
        server_->setResponse(kImagePath, {200, kImage, false, true});
        server_->setResponse(kSignaturePath, {200, sign(kImage, kDevKey), false, true});
        controller->handleDeviceChanged();
        QTRY_VERIFY(!update->isHidden());
        FakeLibrary::instance().pollsPerFlash = 1 << 30;
        update->click();
        QTRY_COMPARE(FakeLibrary::instance().flashesStarted.load(), 1);
        QVERIFY(update->isHidden());
        controller->updateNow();
        FakeLibrary::instance().pollsLeft = 0;
        QTRY_VERIFY(course().contains(QStringLiteral("signal installSuccess")));
        QVERIFY(course().filter(QStringLiteral("Failed")).isEmpty());
        QCOMPARE(server_->requests().count(kImagePath), 1);
    }
    // A captive portal answers every address with its page, which is no firmware. Unattended,
    // that is refused before anything is flashed, shown once for the version, and not tried
    // again before the next check.
    void portalPageShownOnce() {
        const auto controller = makeController();
        const Response portal{200, "<html>Sign in</html>", false, true};
        server_->setResponse(kImagePath, portal);
        server_->setResponse(kSignaturePath, portal);
        controller->resumeAutoUpdater();
        controller->handleDeviceChanged();
        for (const int rejections : {1, 2}) {
            QTRY_VERIFY(controller->isUpdateFound());
            controller->autoUpdater()->tick();
            QTRY_COMPARE(course().count(QStringLiteral("signal signatureRejected")), rejections);
            controller->autoUpdater()->tick();
            controller->checkNow();
        }
        QVERIFY(server_->requests().count(kImagePath) == 2 &&
                FakeLibrary::instance().flashesStarted == 0);
        QCOMPARE(MessageLog::lines().count(QStringLiteral("Firmware update: ") + kRejectedText), 1);
    }

private:
    std::unique_ptr<FWUpdateController> makeController() {
        FWUpdateController::Timing timing;
        timing.now = [this] {
            return now_;
        };
        timing.flashPoll = 5ms;
        timing.checkRetryDelays = {5ms, 5ms, 5ms};
        auto controller = std::make_unique<FWUpdateController>(timing);
        FWUpdateController* c = controller.get();
        const auto record = [c](auto signal, const char* name) {
            QObject::connect(c, signal, c, [name] { MessageLog::append(QLatin1String(name)); });
        };
        record(&FWUpdateController::updateAvailable, "signal updateAvailable");
        record(&FWUpdateController::updateStart, "signal updateStart");
        record(&FWUpdateController::downloadProgress, "signal downloadProgress");
        record(&FWUpdateController::installSuccess, "signal installSuccess");
        record(&FWUpdateController::installFailed, "signal installFailed");
        record(&FWUpdateController::downloadFailed, "signal downloadFailed");
        record(&FWUpdateController::signatureRejected, "signal signatureRejected");
        record(&FWUpdateController::installPostponed, "signal installPostponed");
        QObject::connect(c, &FWUpdateController::installProgress, c, [](uint8_t value) {
            MessageLog::append(QStringLiteral("signal installProgress %1").arg(value));
        });
        return controller;
    }

    SessionSandbox session_;
    std::unique_ptr<TestHttpServer> server_;
    QDateTime now_ = QDateTime::fromSecsSinceEpoch(1800000000);
};

QTEST_MAIN(FirmwareTest)
#include "tst_firmware.moc"
