#include "updater.h"

#include "appcastupdate.h"
#include "opensslutil.h"
#include "settings.h"
#include "startupoptions.h"
#include "updateserver.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QLocale>
#include <QPointer>

#include <string>

namespace {

QPointer<Updater> theUpdater;

// 15 days.
constexpr int kCheckIntervalSeconds = 1296000;

// Distributions that update the program themselves build it without: the framework is
// configured but never started, so nothing is checked, shown or downloaded, while pausing and
// resuming keep their meaning for the rest of the program.
constexpr bool kSelfUpdateBuilt = CASTWELL_SELF_UPDATE;

std::wstring wide(const QString& text) {
    return text.toStdWString();
}

} // namespace

// Outside any namespace, as the resource's registration function is. The key's resource lives
// in a static library, which the linker would leave out unasked.
static void registerUpdateKey() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(updatekey);
        return true;
    }();
    Q_UNUSED(registered);
}

Updater* Updater::instance() {
    if (!theUpdater)
        theUpdater = new Updater;
    return theUpdater;
}

bool Updater::automaticChecksDisabled() {
    return appcast::getAutomaticCheckForUpdates() == 0;
}

QString Updater::shortVersion(const QString& displayVersion) {
    const int firstDot = displayVersion.indexOf(QLatin1Char('.'));
    const int secondDot =
        firstDot < 0 ? -1 : displayVersion.indexOf(QLatin1Char('.'), firstDot + 1);
    return secondDot < 0 ? displayVersion : displayVersion.left(secondDot);
}

QString Updater::settingsPath(const QString& organization, const QString& application) {
    return QStringLiteral("Software\\%1\\%2\\Updater").arg(organization, application);
}

Updater::Updater() {
    const QString buildVersion = displayVersion(QCoreApplication::applicationVersion());
    const QString version = shortVersion(buildVersion);
    const QString appcastUrl =
        updateServerBase() +
        QStringLiteral("/quendral/castwell/sparkle/%1/wincast.xml").arg(version);

    appcast::setAppcastUrl(appcastUrl.toLocal8Bit().constData());
    appcast::setAppDetails(wide(QCoreApplication::organizationName()).c_str(),
                           wide(QCoreApplication::applicationName()).c_str(),
                           wide(version).c_str());
    appcast::setAppBuildVersion(wide(buildVersion).c_str());
    appcast::setLang(QLocale::system().name().toLatin1().constData());
    appcast::setRegistryPath(
        settingsPath(QCoreApplication::organizationName(), QCoreApplication::applicationName())
            .toLocal8Bit()
            .constData());
    appcast::setAutomaticCheckForUpdates(0);
    appcast::setUpdateCheckInterval(kCheckIntervalSeconds);
    appcast::setSignatureValidationCallback(validateUpdateSignature);
    registerUpdateKey();
    QFile edKey(QStringLiteral(":/ed25519_pub.pem"));
    if (edKey.open(QIODevice::ReadOnly) && !appcast::setEdDsaPublicKey(edKey.readAll().constData()))
        qCritical() << "Updater: the Ed25519 update key in the resources is not valid";
    if (kSelfUpdateBuilt)
        appcast::init();
}

Updater::~Updater() {
    appcast::cleanup();
}

void Updater::pause() {
    appcast::setAutomaticCheckForUpdates(0);
}

void Updater::resume() {
    appcast::setAutomaticCheckForUpdates(1);
    // The first resume of a process checks at once, except on the very first run.
    if (!Settings::isFirstRun() && !checkedOnce_) {
        checkedOnce_ = true;
        appcast::checkUpdateWithoutUi();
    }
}

void Updater::checkNow() {
    appcast::checkUpdateWithUi();
}

extern "C" int validateUpdateSignature(const wchar_t* updateFilePath, const char* signatureBase64) {
    const QString path = QString::fromWCharArray(updateFilePath);
    const QByteArray signature = QByteArray::fromBase64(QByteArray(signatureBase64));
    bool read = false;
    const QByteArray fileDigest = OpenSSLUtil::sha1OfFile(path, &read);
    if (!read) {
        qCritical() << "Failed to get Update SHA1";
        return 0;
    }
    registerUpdateKey();
    QFile keyFile(QStringLiteral(":/dsa_pub.pem"));
    const QByteArray pem = keyFile.open(QIODevice::ReadOnly) ? keyFile.readAll() : QByteArray();
    if (OpenSSLUtil::dsaVerify(fileDigest, signature, pem))
        return 1;
    qCritical() << "Update file signature is not valid!";
    return 0;
}
