#pragma once

#include <QByteArray>
#include <QString>

// The RSA public key that firmware images must be signed with, chosen when the program is
// built: the release key for packages, a development key for tests and demonstrations.
struct FirmwareKey {
    QString name;
    QByteArray modulus;
    QByteArray exponent;
    // SHA-256 of the key's DER form, as `openssl pkey -pubin -outform DER | sha256sum` shows it.
    QString fingerprint;

    static const FirmwareKey& trusted();
};
