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

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

const QString kDevKey = QStringLiteral(TEST_DATA_DIR "/keys/firmware-dev.pem");
const QString kOtherKey = QStringLiteral(TEST_DATA_DIR "/keys/firmware-other.pem");
const QString kDirectory = QStringLiteral("/quendral/vc/086c/01.02.034/0/w10/64/");
const QString kImagePath = kDirectory + QStringLiteral("mcr_flashimage.bin");
const QString kSignaturePath = kDirectory + QStringLiteral("mcr_flashimage.bin.sig");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a tool on `input`, kept in a file of its own; returns what it wrote to standard output
// and, when `outputSuffix` is given, the file it wrote beside the input instead.
QByteArray run(const QString& program, QStringList arguments, const QByteArray& input,
               const QString& outputSuffix = QString()) {
    QTemporaryDir dir;
    const QString inputPath = dir.filePath(QStringLiteral("input.bin"));
    QFile file(inputPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(input) != input.size())
        return QByteArray();
    file.close();
    QProcess process;
    process.start(program, arguments << inputPath);
    if (!process.waitForFinished() || process.exitCode() != 0)
        return QByteArray();
    return outputSuffix.isEmpty() ? process.readAllStandardOutput()
                                  : readFile(inputPath + outputSuffix);
}

// The signature file the maker's script writes for `image`.
QByteArray sign(const QByteArray& image, const QString& key, bool digestOnly = false) {
    QStringList arguments;
    if (digestOnly)
        arguments << QStringLiteral("--digest-only");
    return run(QStringLiteral(SIGN_SCRIPT), arguments << key, image, QStringLiteral(".sig"));
}

QByteArray someImage() {
    QByteArray image("AIT842VER\x01\x03\x00", 12);
    QRandomGenerator random(7);
    for (int i = 0; i < 4096; ++i)
        image += static_cast<char>(random.bounded(256));
    return image;
}

DeviceInfo deviceAt(quint8 major, quint8 minor, quint16 build) {
    DeviceInfo device;
    device.present = true;
    device.version = {major, minor, build};
    return device;
}

// The firmware controller's signals, written into the message log so that their order against
// the log lines shows.
void recordSignals(FWUpdateController* controller) {
    const auto record = [controller](auto signal, const char* name) {
        QObject::connect(controller, signal, controller,
                         [name] { MessageLog::append(QLatin1String(name)); });
    };
    record(&FWUpdateController::updateAvailable, "signal updateAvailable");
    record(&FWUpdateController::updateStart, "signal updateStart");
    record(&FWUpdateController::downloadProgress, "signal downloadProgress");
    record(&FWUpdateController::downloadFailed, "signal downloadFailed");
    record(&FWUpdateController::installSuccess, "signal installSuccess");
    record(&FWUpdateController::installFailed, "signal installFailed");
    QObject::connect(controller, &FWUpdateController::installProgress, controller,
                     [](uint8_t value) {
                         MessageLog::append(QStringLiteral("signal installProgress %1").arg(value));
                     });
}

// The update's course: log lines of the auto-updater and signals, repeats folded into one.
QStringList course() {
    QStringList result;
    for (const QString& line : MessageLog::lines()) {
        const bool relevant = line.startsWith(QLatin1String("FW AutoUpdate:")) ||
                              line.startsWith(QLatin1String("signal "));
        if (relevant && (result.isEmpty() || result.last() != line))
            result << line;
    }
    return result;
}

} // namespace

class FirmwareTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void signatureForms();
    void dsaSignaturesAndFileDigests();
    void downloaderAgainstServer();
    void requestsAreBounded();
    void autoUpdateCheckSchedule();
    void autoInstallWaitsForResume();

private:
    std::unique_ptr<FWUpdateController> makeController();

    SessionSandbox session_;
    std::unique_ptr<TestHttpServer> server_;
    QByteArray modulus_;
    QByteArray exponent_;
    QDateTime now_ = QDateTime::fromSecsSinceEpoch(1800000000);
};

void FirmwareTest::initTestCase() {
    QVERIFY(session_.isValid());
    session_.enter();
    QVERIFY(OpenSSLUtil::rsaPublicKeyNumbers(
        readFile(QStringLiteral(TEST_DATA_DIR "/keys/firmware-dev.pub.pem")), &modulus_,
        &exponent_));
    QCOMPARE(modulus_.size(), 64);
    QVERIFY(!sign("x", kDevKey).isEmpty());
}

void FirmwareTest::init() {
    server_ = std::make_unique<TestHttpServer>();
    QVERIFY(server_->isListening());
    qputenv("CASTWELL_UPDATE_SERVER", server_->baseUrl().toUtf8());
    FakeLibrary::install();
    Settings::instance()->setAutoUpdateFW(true);
    Settings::instance()->setLastFWUpdateCheck(QDateTime());
    MessageLog::clear();
    MessageLog::capture();
}

void FirmwareTest::cleanup() {
    MessageLog::release();
    server_.reset();
}

std::unique_ptr<FWUpdateController> FirmwareTest::makeController() {
    FWUpdateController::Timing timing;
    timing.now = [this] {
        return now_;
    };
    timing.flashPoll = 5ms;
    auto controller = std::make_unique<FWUpdateController>(timing);
    recordSignals(controller.get());
    return controller;
}

void FirmwareTest::signatureForms() {
    const QByteArray image = someImage();
    const QByteArray standard = sign(image, kDevKey);
    const QByteArray bare = sign(image, kDevKey, true);
    const auto verify = [this](const QByteArray& data, const QByteArray& signature) {
        return FWChecker::verify(data, signature, modulus_, exponent_);
    };

    QVERIFY(verify(image, standard));
    QVERIFY(MessageLog::contains(QStringLiteral("FWChecker: MD5_ASN1 signature match")));
    QVERIFY(verify(image, bare));
    QVERIFY(MessageLog::contains(QStringLiteral("FWChecker: MD5 signature match")));
    QByteArray spaced;
    for (int i = 0; i + 1 < standard.trimmed().size(); i += 2)
        spaced += standard.mid(i, 2) + (i % 32 == 30 ? "\r\n" : " ");
    QVERIFY(verify(image, spaced));

    QByteArray tampered = image;
    tampered[100] = static_cast<char>(tampered[100] ^ 1);
    for (const QByteArray& signature : {standard, bare}) {
        QVERIFY(!verify(tampered, signature));
        QVERIFY(!verify(image.left(image.size() - 1), signature));
    }
    QVERIFY(!verify(image, sign(image, kOtherKey)));
    QVERIFY(!verify(image, sign(image, kOtherKey, true)));
    QVERIFY(!verify(image, QByteArray()));

    // The text is least significant byte first: a byte more at its end makes a 65-byte block.
    MessageLog::clear();
    QVERIFY(!verify(image, standard.trimmed() + "01"));
    QCOMPARE(MessageLog::lines(),
             (QStringList{QStringLiteral("OpenSSLUtil: Failed to decrypt data"),
                          QStringLiteral("FWChecker: failed to verify FW signature")}));
}

void FirmwareTest::dsaSignaturesAndFileDigests() {
    const QByteArray data = "castwell-1.2.3.deb";
    const QByteArray signature =
        run(QStringLiteral("openssl"),
            {QStringLiteral("dgst"), QStringLiteral("-sha1"), QStringLiteral("-sign"),
             QStringLiteral(TEST_DATA_DIR "/keys/update-dev-dsa.pem")},
            data);
    const QByteArray key = readFile(QStringLiteral(TEST_DATA_DIR "/keys/update-dev-dsa.pub.pem"));
    QVERIFY(OpenSSLUtil::dsaVerify(data, signature, key));
    QVERIFY(!OpenSSLUtil::dsaVerify(data + "x", signature, key));
    QVERIFY(!OpenSSLUtil::dsaVerify(data, signature.left(signature.size() - 2), key));
    MessageLog::clear();
    QVERIFY(!OpenSSLUtil::dsaVerify(data, signature, readFile(kDevKey)));
    QCOMPARE(MessageLog::lines(),
             QStringList{QStringLiteral("OpenSSLUtil: Cannot read DSA public key from PEM")});

    bool ok = false;
    QCOMPARE(OpenSSLUtil::sha1OfFile(kDevKey, &ok), OpenSSLUtil::sha1(readFile(kDevKey)));
    QVERIFY(ok);
    OpenSSLUtil::sha1OfFile(QStringLiteral("/nonexistent"), &ok);
    QVERIFY(!ok);
}

void FirmwareTest::downloaderAgainstServer() {
    FWDownloader downloader;
    QSignalSpy available(&downloader, &FWDownloader::newVersionAvailable);
    QSignalSpy noResult(&downloader, &FWDownloader::checkFinishNoResult);
    QSignalSpy downloaded(&downloader, &FWDownloader::newVersionDownloaded);
    QSignalSpy failed(&downloader, &FWDownloader::newVersionDownloadFailed);
    const DeviceInfo device = deviceAt(1, 2, 34);

    downloader.checkForUpdate(device);
    QTRY_COMPARE(noResult.count(), 1);
    server_->setResponse(kSignaturePath, {});
    downloader.checkForUpdate(device);
    QTRY_COMPARE(available.count(), 1);
    QCOMPARE(noResult.count(), 1);
    QCOMPARE(server_->requests(), (QStringList{kSignaturePath, kSignaturePath}));

    // A download in flight refuses checks; a second download ends the first as failed.
    TestHttpServer::Response stalled;
    stalled.body = QByteArray(1000, 'x');
    stalled.stall = true;
    server_->setResponse(kImagePath, stalled);
    downloader.download(device);
    QTRY_VERIFY(server_->requests().contains(kImagePath));
    downloader.checkForUpdate(device);
    QCOMPARE(noResult.count(), 2);
    server_->setResponse(kImagePath, {200, "second image", false, true});
    server_->setResponse(kSignaturePath, {200, "0a1b", false, true});
    downloader.download(device);
    QCOMPARE(failed.count(), 1);
    QTRY_COMPARE(downloaded.count(), 1);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(downloader.result(), qMakePair(QByteArray("second image"), QByteArray("0a1b")));
    QCOMPARE(available.count(), 1);
}

void FirmwareTest::requestsAreBounded() {
    FWDownloader downloader;
    FWDownloader::Limits limits;
    limits.maxImageBytes = 64 * 1024;
    limits.maxTextBytes = 1024;
    limits.stallTimeout = 300ms;
    downloader.setLimits(limits);
    QSignalSpy downloaded(&downloader, &FWDownloader::newVersionDownloaded);
    QSignalSpy failed(&downloader, &FWDownloader::newVersionDownloadFailed);
    const DeviceInfo device = deviceAt(1, 2, 34);
    server_->setResponse(kSignaturePath, {200, "0a1b", false, true});

    // Bodies beyond the cap, announced or only sent.
    int failures = 0;
    for (const bool announced : {true, false}) {
        server_->setResponse(kImagePath, {200, QByteArray(1 << 20, 'x'), false, announced});
        downloader.download(device);
        ++failures;
        QTRY_COMPARE(failed.count(), failures);
    }
    TestHttpServer::Response stalled;
    stalled.body = QByteArray(1000, 'x');
    stalled.stall = true;
    server_->setResponse(kImagePath, stalled);
    QElapsedTimer elapsed;
    elapsed.start();
    downloader.download(device);
    ++failures;
    QTRY_COMPARE(failed.count(), failures);
    QVERIFY(elapsed.elapsed() < 3000);
    QCOMPARE(downloaded.count(), 0);

    QSignalSpy available(&downloader, &FWDownloader::newVersionAvailable);
    QSignalSpy noResult(&downloader, &FWDownloader::checkFinishNoResult);
    server_->setResponse(kSignaturePath, {200, QByteArray(1 << 20, 'x'), false, false});
    downloader.checkForUpdate(device);
    QTRY_COMPARE(noResult.count(), 1);
    QCOMPARE(available.count(), 0);
}

void FirmwareTest::autoUpdateCheckSchedule() {
    Settings* settings = Settings::instance();
    FakeLibrary::instance().present = false;
    const auto controller = makeController();

    // Never checked: checks at once and stores the time, even without a device to ask about.
    controller->autoUpdater()->tick();
    QCOMPARE(settings->lastFWUpdateCheck(), now_);

    // The device's arrival makes a check of its own, for its version's directory.
    FakeLibrary::instance().present = true;
    controller->handleDeviceChanged();
    QTRY_COMPARE(server_->requests(), QStringList{kSignaturePath});

    // Due only when strictly more than 15 days have passed.
    const QDateTime fifteenDaysAgo = now_.addSecs(-1296000);
    settings->setLastFWUpdateCheck(fifteenDaysAgo);
    controller->autoUpdater()->tick();
    QCOMPARE(settings->lastFWUpdateCheck(), fifteenDaysAgo);
    settings->setLastFWUpdateCheck(fifteenDaysAgo.addSecs(-1));
    MessageLog::clear();
    controller->autoUpdater()->tick();
    QCOMPARE(settings->lastFWUpdateCheck(), now_);
    QTRY_VERIFY(MessageLog::contains(QStringLiteral("FW AutoUpdate: no new version available")));
    QCOMPARE(server_->requests(), (QStringList{kSignaturePath, kSignaturePath}));
}

void FirmwareTest::autoInstallWaitsForResume() {
    const QByteArray image = someImage();
    const auto controller = makeController();
    controller->handleDeviceChanged();
    QTRY_COMPARE(server_->requests().size(), 1);

    // Found by an automatic check while installs are paused: delayed until resumed.
    server_->setResponse(kImagePath, {200, image, false, true});
    server_->setResponse(kSignaturePath, {200, sign(image, kDevKey), false, true});
    MessageLog::clear();
    controller->autoUpdater()->tick();
    QTRY_VERIFY(course().contains(QStringLiteral("signal updateAvailable")));
    QCOMPARE(course(), (QStringList{QStringLiteral("FW AutoUpdate: check for new version"),
                                    QStringLiteral("FW AutoUpdate: installing new FW"),
                                    QStringLiteral("FW AutoUpdate: update delayed"),
                                    QStringLiteral("signal updateAvailable")}));
    MessageLog::clear();
    controller->resumeAutoUpdater();
    QTRY_VERIFY(course().contains(QStringLiteral("signal installSuccess")));
    QCOMPARE(course().first(),
             QStringLiteral("FW AutoUpdate: installing update from 1.2.34 version"));
    QCOMPARE(FakeLibrary::instance().flashesStarted.load(), 1);

    // Now at 1.3.0, with newer firmware for that: found while installs are allowed, it is
    // installed at once, and the news of it comes after the install began.
    FakeLibrary::instance().version = 0x00000301;
    const QString directory = QStringLiteral("/quendral/vc/086c/01.03.000/0/w10/64/");
    const QByteArray next = image + "next";
    server_->setResponse(directory + QStringLiteral("mcr_flashimage.bin"),
                         {200, next, false, true});
    server_->setResponse(directory + QStringLiteral("mcr_flashimage.bin.sig"),
                         {200, sign(next, kDevKey, true), false, true});
    QSignalSpy refreshed(controller.get(), &FWUpdateController::deviceInfoUpdated);
    controller->handleDeviceChanged();
    QTRY_COMPARE(refreshed.count(), 1);
    Settings::instance()->setLastFWUpdateCheck(QDateTime());
    MessageLog::clear();
    controller->autoUpdater()->tick();
    QTRY_VERIFY(course().contains(QStringLiteral("signal installSuccess")));
    QCOMPARE(
        course(),
        (QStringList{
            QStringLiteral("FW AutoUpdate: check for new version"),
            QStringLiteral("FW AutoUpdate: installing new FW"),
            QStringLiteral("FW AutoUpdate: installing update from 1.3.0 version"),
            QStringLiteral("signal updateStart"), QStringLiteral("signal updateAvailable"),
            QStringLiteral("signal downloadProgress"), QStringLiteral("signal installProgress 1"),
            QStringLiteral("signal installProgress 50"), QStringLiteral("signal installSuccess")}));
    QCOMPARE(FakeLibrary::instance().flashesStarted.load(), 2);
}

QTEST_MAIN(FirmwareTest)
#include "tst_firmware.moc"
