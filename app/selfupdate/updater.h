#pragma once

#include <QObject>
#include <QString>

// The program's own updates: configures the appcast update framework once, lets the controller
// hold automatic checks back during a share, and judges downloaded updates by their signature.
// GUI thread, except the signature check, which keeps no state.
class Updater : public QObject {
    Q_OBJECT
public:
    // Made, configured and started on the first call.
    static Updater* instance();
    static bool automaticChecksDisabled();
    ~Updater() override;

    // The feed line a version follows: the display version up to its second dot (2.1.7 → 2.1).
    static QString shortVersion(const QString& displayVersion);
    // Where the framework keeps its settings, e.g. Software\Quendral\Castwell\Updater.
    static QString settingsPath(const QString& organization, const QString& application);

public slots:
    void pause();
    void resume();
    void checkNow();

private:
    Updater();

    bool checkedOnce_ = false;
};

// Accepts (1) or refuses (0) a downloaded update file: a DSA signature, in Base64, over the
// SHA-1 of the file's SHA-1, under the key in the resources.
extern "C" int validateUpdateSignature(const wchar_t* updateFilePath, const char* signatureBase64);
