#include "fwchecker.h"

#include "firmwarekey.h"
#include "opensslutil.h"

#include <QDebug>

#include <algorithm>
#include <cctype>

namespace {

// DER DigestInfo prefix of an MD5 digest (PKCS #1, RFC 8017, section 9.2, note 1).
const QByteArray kMd5DigestInfoPrefix = QByteArray::fromHex("3020300c06082a864886f70d020505000410");

constexpr int kMd5Bytes = 16;

QByteArray signatureBlock(const QByteArray& text) {
    QByteArray hexDigits;
    hexDigits.reserve(text.size());
    for (const char c : text) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            hexDigits += c;
    }
    QByteArray block = QByteArray::fromHex(hexDigits);
    std::reverse(block.begin(), block.end());
    return block;
}

} // namespace

namespace FWChecker {

bool verify(const QByteArray& image, const QByteArray& signatureText) {
    const FirmwareKey& key = FirmwareKey::trusted();
    return verify(image, signatureText, key.modulus, key.exponent);
}

bool verify(const QByteArray& image, const QByteArray& signatureText, const QByteArray& modulus,
            const QByteArray& exponent) {
    const QByteArray digest = OpenSSLUtil::md5(image);
    const QByteArray block = signatureBlock(signatureText);
    QByteArray decrypted;
    if (OpenSSLUtil::rsaPublicDecrypt(modulus, exponent, block, &decrypted)) {
        if (decrypted.size() == kMd5Bytes) {
            if (decrypted == digest) {
                qDebug("FWChecker: MD5 signature match");
                return true;
            }
        } else if (decrypted.startsWith(kMd5DigestInfoPrefix) &&
                   OpenSSLUtil::rsaVerify(digest, block, modulus, exponent)) {
            qDebug("FWChecker: MD5_ASN1 signature match");
            return true;
        }
    }
    qDebug("FWChecker: failed to verify FW signature");
    return false;
}

} // namespace FWChecker
