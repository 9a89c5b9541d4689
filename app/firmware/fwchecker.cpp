#include "fwchecker.h"

#include "firmwarekey.h"
#include "opensslutil.h"

#include <QDebug>

#include <algorithm>
#include <cctype>

namespace {

// DER DigestInfo prefixes of an MD5 and a SHA-256 digest (PKCS #1, RFC 8017, section 9.2,
// note 1).
const QByteArray kMd5DigestInfoPrefix = QByteArray::fromHex("3020300c06082a864886f70d020505000410");
const QByteArray kSha256DigestInfoPrefix =
    QByteArray::fromHex("3031300d060960864801650304020105000420");

constexpr int kMd5Bytes = 16;
// A smaller modulus is within reach of a factoring run on rented machines; whoever finishes one
// signs any image.
constexpr int kMinimumKeyBits = 2048;

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

int keyBits(const QByteArray& modulus) {
    const int leading = static_cast<int>(
        std::find_if(modulus.begin(), modulus.end(), [](char byte) { return byte != 0; }) -
        modulus.begin());
    if (leading == modulus.size())
        return 0;
    int bits = (modulus.size() - leading) * 8;
    for (auto top = static_cast<unsigned char>(modulus[leading]); !(top & 0x80); top <<= 1)
        --bits;
    return bits;
}

} // namespace

namespace FWChecker {

bool verify(const QByteArray& image, const QByteArray& signatureText) {
    const FirmwareKey& key = FirmwareKey::trusted();
    return verify(image, signatureText, key.modulus, key.exponent);
}

bool verify(const QByteArray& image, const QByteArray& signatureText, const QByteArray& modulus,
            const QByteArray& exponent) {
    if (keyBits(modulus) < kMinimumKeyBits) {
        qDebug("FWChecker: the signing key has %d bits, fewer than the %d a key needs",
               keyBits(modulus), kMinimumKeyBits);
        qDebug("FWChecker: failed to verify FW signature");
        return false;
    }
    const QByteArray digest = OpenSSLUtil::md5(image);
    const QByteArray block = signatureBlock(signatureText);
    QByteArray decrypted;
    if (OpenSSLUtil::rsaPublicDecrypt(modulus, exponent, block, &decrypted)) {
        if (decrypted.size() == kMd5Bytes) {
            if (decrypted == digest) {
                qDebug("FWChecker: MD5 signature match");
                return true;
            }
        } else if (decrypted.startsWith(kMd5DigestInfoPrefix)) {
            if (OpenSSLUtil::rsaVerify(OpenSSLUtil::Digest::Md5, digest, block, modulus,
                                       exponent)) {
                qDebug("FWChecker: MD5_ASN1 signature match");
                return true;
            }
        } else if (decrypted.startsWith(kSha256DigestInfoPrefix) &&
                   OpenSSLUtil::rsaVerify(OpenSSLUtil::Digest::Sha256, OpenSSLUtil::sha256(image),
                                          block, modulus, exponent)) {
            qDebug("FWChecker: SHA256_ASN1 signature match");
            return true;
        }
    }
    qDebug("FWChecker: failed to verify FW signature");
    return false;
}

} // namespace FWChecker
