#include "appcastupdate.h"

#include "edsignature.h"
#include "updateengine.h"
#include "updatesettings.h"

namespace appcast {

namespace {

QString fromWide(const wchar_t* text) {
    return text ? QString::fromWCharArray(text) : QString();
}

} // namespace

void setAppcastUrl(const char* url) {
    configuration().appcastUrl = QUrl(QString::fromLocal8Bit(url));
}

void setAppDetails(const wchar_t* companyName, const wchar_t* appName, const wchar_t* appVersion) {
    configuration().companyName = fromWide(companyName);
    configuration().appName = fromWide(appName);
    configuration().appVersion = fromWide(appVersion);
}

void setAppBuildVersion(const wchar_t* buildVersion) {
    configuration().buildVersion = fromWide(buildVersion);
}

void setLang(const char* lang) {
    configuration().lang = QString::fromLatin1(lang);
}

void setRegistryPath(const char* path) {
    configuration().settingsPath = QString::fromLocal8Bit(path);
}

void setAutomaticCheckForUpdates(int state) {
    if (UpdateEngine* engine = UpdateEngine::current())
        engine->setAutomaticChecks(state != 0);
    else
        UpdateSettings(configuration().settingsPath).setAutomaticChecks(state != 0);
}

int getAutomaticCheckForUpdates() {
    return UpdateSettings(configuration().settingsPath).automaticChecks() ? 1 : 0;
}

void setUpdateCheckInterval(int seconds) {
    configuration().checkIntervalSeconds = std::max(seconds, 1);
}

void setSignatureValidationCallback(SignatureValidationCallback callback) {
    configuration().signatureCallback = callback;
}

int setEdDsaPublicKey(const char* publicKeyPem) {
    const QByteArray pem(publicKeyPem ? publicKeyPem : "");
    if (!isEd25519PublicKey(pem))
        return 0;
    configuration().edPublicKey = pem;
    return 1;
}

void init() {
    if (!UpdateEngine::current())
        new UpdateEngine(configuration());
}

void checkUpdateWithUi() {
    if (UpdateEngine* engine = UpdateEngine::current())
        engine->check(CheckMode::Interactive);
}

void checkUpdateWithoutUi() {
    if (UpdateEngine* engine = UpdateEngine::current())
        engine->check(CheckMode::Silent);
}

void cleanup() {
    delete UpdateEngine::current();
}

} // namespace appcast
