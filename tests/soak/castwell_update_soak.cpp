// The firmware and program update clients against hostile update servers, many rounds each:
// every round must be refused, and the resident memory must stay flat. One line per scenario;
// exit status 1 when any scenario fails.
//
//   castwell_update_soak [ROUNDS]

#include "fwchecker.h"
#include "fwdownloader.h"
#include "installer.h"
#include "platform/memoryallocator.h"
#include "testhttpserver.h"
#include "updateengine.h"
#include "updater.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr qint64 kMaxGrowthKb = 1024;
const QString kFirmwarePath =
    QStringLiteral("/quendral/vc/086c/01.00.000/0/w10/64/mcr_flashimage.bin");

qint64 residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Answers every request over TLS with a redirect to plain HTTP, which the clients must refuse.
class DowngradingServer : public QTcpServer {
public:
    DowngradingServer(const QSslCertificate& certificate, const QSslKey& key, QByteArray target)
        : certificate_(certificate)
        , key_(key)
        , target_(std::move(target)) {
        listen(QHostAddress::LocalHost);
    }

protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QSslSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().isEmpty() && !socket->property("answered").toBool()) {
                socket->setProperty("answered", true);
                socket->write("HTTP/1.1 302 Found\r\nLocation: " + target_ +
                              "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
                socket->disconnectFromHost();
            }
        });
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(certificate_);
        socket->setPrivateKey(key_);
        socket->startServerEncryption();
    }

private:
    QSslCertificate certificate_;
    QSslKey key_;
    QByteArray target_;
};

class CountingInstaller : public appcast::Installer {
public:
    explicit CountingInstaller(int* count)
        : count_(count) {}
    bool start(const QString&, const QString&, QString*) override {
        ++*count_;
        return true;
    }

private:
    int* count_;
};

class Soak {
public:
    explicit Soak(int rounds)
        : rounds_(rounds) {}

    bool setUp();
    bool run();

private:
    using Round = std::function<bool()>;
    bool scenario(const char* name, const Round& refused);
    bool firmwareRound(const QString& server);
    bool programRound(const QString& appcastUrl);
    void serveFirmware(const TestHttpServer::Response& image, const QByteArray& signature);
    void servePackage(const TestHttpServer::Response& package, const QByteArray& feed = {});

    int rounds_;
    QTemporaryDir dir_;
    TestHttpServer server_;
    std::unique_ptr<DowngradingServer> tls_;
    QByteArray package_;
    QByteArray otherKeyItem_;
    QByteArray otherSignatureText_;
    int installs_ = 0;
};

bool Soak::setUp() {
    if (!dir_.isValid() || !server_.isListening())
        return false;
    const QString certificate = dir_.filePath(QStringLiteral("cert.pem"));
    const QString key = dir_.filePath(QStringLiteral("key.pem"));
    if (QProcess::execute(
            QStringLiteral("openssl"),
            {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
             QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"), key,
             QStringLiteral("-out"), certificate, QStringLiteral("-days"), QStringLiteral("1"),
             QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
             QStringLiteral("subjectAltName=IP:127.0.0.1")}) != 0)
        return false;
    QFile certificateFile(certificate);
    QFile keyFile(key);
    if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly))
        return false;
    const QSslCertificate tlsCertificate(&certificateFile, QSsl::Pem);
    QSslConfiguration trusted = QSslConfiguration::defaultConfiguration();
    trusted.addCaCertificate(tlsCertificate);
    QSslConfiguration::setDefaultConfiguration(trusted);
    tls_ = std::make_unique<DowngradingServer>(tlsCertificate, QSslKey(&keyFile, QSsl::Rsa),
                                               server_.baseUrl().toUtf8() + "/plain");
    if (!tls_->isListening())
        return false;

    // The program's package, signed with a key the program does not trust.
    package_ = QByteArray(200 * 1024, 'p');
    const QString packageFile = dir_.filePath(QStringLiteral("castwell.deb"));
    QFile packageOut(packageFile);
    if (!packageOut.open(QIODevice::WriteOnly) || packageOut.write(package_) != package_.size())
        return false;
    packageOut.close();
    QProcess sign;
    sign.start(QStringLiteral(SIGN_UPDATE_SCRIPT),
               {QStringLiteral(TEST_DATA_DIR "/keys/update-other-dsa.pem"), packageFile,
                QStringLiteral("99.0.0"), server_.baseUrl() + QStringLiteral("/castwell.deb")});
    if (!sign.waitForFinished() || sign.exitCode() != 0)
        return false;
    otherKeyItem_ = sign.readAllStandardOutput();

    // The firmware image's signature, the other key's: well-formed, not the maker's.
    const QString image = dir_.filePath(QStringLiteral("fw.bin"));
    QFile imageOut(image);
    if (!imageOut.open(QIODevice::WriteOnly) ||
        imageOut.write("AIT842" + QByteArray(8192, 'i')) < 0)
        return false;
    imageOut.close();
    QProcess signFirmware;
    signFirmware.start(QStringLiteral(SIGN_FIRMWARE_SCRIPT),
                       {QStringLiteral(TEST_DATA_DIR "/keys/firmware-other.pem"), image});
    if (!signFirmware.waitForFinished() || signFirmware.exitCode() != 0)
        return false;
    QFile signature(image + QStringLiteral(".sig"));
    if (!signature.open(QIODevice::ReadOnly))
        return false;
    otherSignatureText_ = signature.readAll();

    appcast::Configuration& program = appcast::configuration();
    program.appName = QStringLiteral("Castwell");
    program.buildVersion = QStringLiteral("1.0.0");
    program.settingsPath = QStringLiteral("Software\\Quendral\\CastwellSoak\\Updater");
    program.signatureCallback = validateUpdateSignature;
    program.installer = std::make_shared<CountingInstaller>(&installs_);
    program.shutdownRequest = [] {
    };
    program.fileLimits = {256 * 1024, std::chrono::milliseconds(300),
                          std::chrono::milliseconds(5000)};
    program.appcastLimits = {64 * 1024, std::chrono::milliseconds(300),
                             std::chrono::milliseconds(5000)};
    appcast::init();
    return true;
}

bool Soak::scenario(const char* name, const Round& refused) {
    // The heap settles only after some dozens of rounds of a kind.
    const int warmUp = std::min(rounds_ / 2, std::max(50, rounds_ / 5));
    int refusals = 0;
    qint64 before = 0;
    QElapsedTimer timer;
    timer.start();
    for (int round = 0; round < rounds_; ++round) {
        if (round == warmUp)
            before = residentKb();
        refusals += refused() ? 1 : 0;
        // No event loop runs here to delete what the round left to deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const qint64 growth = residentKb() - before;
    const bool passed = refusals == rounds_ && growth <= kMaxGrowthKb;
    std::printf("%s%s: %d of %d rounds refused in %.1f s, RSS %+lld kB after warm-up\n",
                passed ? "" : "FAILED ", name, refusals, rounds_, timer.elapsed() / 1000.0,
                static_cast<long long>(growth));
    std::fflush(stdout);
    return passed;
}

void Soak::serveFirmware(const TestHttpServer::Response& image, const QByteArray& signature) {
    server_.setResponse(kFirmwarePath, image);
    server_.setResponse(kFirmwarePath + QStringLiteral(".sig"), {200, signature});
}

// True when the download failed or what arrived does not pass the signature check.
bool Soak::firmwareRound(const QString& server) {
    qputenv("CASTWELL_UPDATE_SERVER", server.toUtf8());
    FWDownloader downloader;
    downloader.setLimits(
        {64 * 1024, 16 * 1024, std::chrono::milliseconds(300), std::chrono::milliseconds(5000)});
    bool ended = false;
    bool downloaded = false;
    QObject::connect(&downloader, &FWDownloader::newVersionDownloaded,
                     [&] { ended = downloaded = true; });
    QObject::connect(&downloader, &FWDownloader::newVersionDownloadFailed, [&] { ended = true; });
    DeviceInfo device;
    device.version = {1, 0, 0};
    downloader.download(device);
    if (!waitUntil([&] { return ended; }))
        return false;
    const auto [image, signature] = downloader.result();
    return !downloaded || !FWChecker::verify(image, signature);
}

void Soak::servePackage(const TestHttpServer::Response& package, const QByteArray& feed) {
    server_.setResponse(QStringLiteral("/castwell.deb"), package);
    server_.setResponse(QStringLiteral("/feed.xml"),
                        {200, feed.isEmpty() ? "<rss xmlns:sparkle=\"urn:appcast\"><channel>" +
                                                   otherKeyItem_ + "</channel></rss>"
                                             : feed});
}

// True when the check or the update ended without the installer being started.
bool Soak::programRound(const QString& appcastUrl) {
    // A fresh framework each round, so that its whole life is measured.
    appcast::configuration().appcastUrl = QUrl(appcastUrl);
    appcast::cleanup();
    appcast::init();
    appcast::UpdateEngine* engine = appcast::UpdateEngine::current();
    const int installsBefore = installs_;
    engine->check(appcast::CheckMode::Interactive);
    const auto visible = [engine](const char* button) {
        appcast::UpdateWindow* window = engine->window();
        if (!window || !window->isVisible())
            return false;
        for (QPushButton* candidate : window->findChildren<QPushButton*>(QLatin1String(button))) {
            if (candidate->isVisible())
                return true;
        }
        return false;
    };
    if (!waitUntil([&] { return visible("installButton") || visible("closeButton"); }))
        return false;
    if (visible("installButton")) {
        emit engine->window()->installRequested();
        if (!waitUntil([&] { return visible("closeButton") || installs_ != installsBefore; }))
            return false;
    }
    return installs_ == installsBefore;
}

bool Soak::run() {
    const QString plain = server_.baseUrl();
    const QString downgrading = QStringLiteral("https://127.0.0.1:%1").arg(tls_->serverPort());
    const QByteArray image = "AIT842" + QByteArray(8192, 'i');
    bool passed = true;

    serveFirmware({200, QByteArray(1024 * 1024, 'o'), false, false}, otherSignatureText_);
    passed &=
        scenario("firmware, oversize body without length", [&] { return firmwareRound(plain); });
    serveFirmware({200, image, false, true, true}, otherSignatureText_);
    passed &= scenario("firmware, truncated body", [&] { return firmwareRound(plain); });
    serveFirmware({200, image, true}, otherSignatureText_);
    passed &= scenario("firmware, stalled server", [&] { return firmwareRound(plain); });
    passed &=
        scenario("firmware, https to http redirect", [&] { return firmwareRound(downgrading); });
    serveFirmware({200, image}, otherSignatureText_);
    passed &= scenario("firmware, wrong signature", [&] { return firmwareRound(plain); });

    const QString feed = plain + QStringLiteral("/feed.xml");
    servePackage({200, package_});
    passed &= scenario("program, wrong signature", [&] { return programRound(feed); });
    servePackage({200, QByteArray(1024 * 1024, 'o'), false, false});
    passed &= scenario("program, oversize package", [&] { return programRound(feed); });
    servePackage({200, package_, false, true, true});
    passed &= scenario("program, truncated package", [&] { return programRound(feed); });
    servePackage({200, package_, true});
    passed &= scenario("program, stalled server", [&] { return programRound(feed); });
    passed &= scenario("program, https to http redirect",
                       [&] { return programRound(downgrading + QStringLiteral("/feed.xml")); });
    servePackage({200, package_}, "<rss><channel><item><enclosure url=");
    passed &= scenario("program, malformed appcast", [&] { return programRound(feed); });
    appcast::cleanup();
    return passed;
}

} // namespace

int main(int argc, char** argv) {
    // As the program does.
    platform::configureAllocator();
    QApplication application(argc, argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const int rounds = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100;
    Soak soak(rounds);
    if (!soak.setUp()) {
        std::fprintf(stderr, "castwell_update_soak: cannot set up the servers and signed files\n");
        return 2;
    }
    return soak.run() ? 0 : 1;
}
