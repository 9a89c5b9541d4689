#pragma once

// Keeps a program current from an appcast: checks the feed now and then or on request, offers
// a newer release, downloads it, lets the program judge the file's signature and starts its
// installer. Configure, then init(); cleanup() ends it. GUI thread only; the strings are copied.

#include <cstddef>

namespace appcast {

// Judges a downloaded update: 1 accepts the file, anything else rejects it.
using SignatureValidationCallback = int (*)(const wchar_t* updateFilePath,
                                            const char* signatureBase64);

void setAppcastUrl(const char* url);
void setAppDetails(const wchar_t* companyName, const wchar_t* appName, const wchar_t* appVersion);
// The version compared with the feed's; without it, the app version is.
void setAppBuildVersion(const wchar_t* buildVersion);
// The user's language, as in de_DE; servers may answer in it.
void setLang(const char* lang);
// Where the framework keeps its own settings, written like a registry key.
void setRegistryPath(const char* path);
void setAutomaticCheckForUpdates(int state);
int getAutomaticCheckForUpdates();
void setUpdateCheckInterval(int seconds);
void setSignatureValidationCallback(SignatureValidationCallback callback);
// An Ed25519 public key in PEM form: updates whose Ed25519 signature verifies under it are
// accepted too. 1 when the key was taken, 0 when it is not an Ed25519 public key.
int setEdDsaPublicKey(const char* publicKeyPem);

void init();
// Checks and shows every step, "up to date" and errors included.
void checkUpdateWithUi();
// Checks quietly; a window comes up only when an update is offered.
void checkUpdateWithoutUi();
void cleanup();

} // namespace appcast
