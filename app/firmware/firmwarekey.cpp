#include "firmwarekey.h"

#include "opensslutil.h"

#include <QCryptographicHash>
#include <QList>

extern const char kFirmwareKeyName[];
extern const char kFirmwareKeyPem[];

namespace {

QByteArray derOf(const QByteArray& pem) {
    QByteArray body;
    for (const QByteArray& line : pem.split('\n')) {
        if (!line.startsWith("-----"))
            body += line.trimmed();
    }
    return QByteArray::fromBase64(body);
}

FirmwareKey load() {
    FirmwareKey key;
    key.name = QString::fromUtf8(kFirmwareKeyName);
    const QByteArray pem(kFirmwareKeyPem);
    // The build refuses a file that is not an RSA public key, so this only fails on a broken
    // libcrypto; an empty key then verifies nothing.
    OpenSSLUtil::rsaPublicKeyNumbers(pem, &key.modulus, &key.exponent);
    key.fingerprint = QString::fromLatin1(
        QCryptographicHash::hash(derOf(pem), QCryptographicHash::Sha256).toHex());
    return key;
}

} // namespace

const FirmwareKey& FirmwareKey::trusted() {
    static const FirmwareKey key = load();
    return key;
}
