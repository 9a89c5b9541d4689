#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

struct evp_pkey_st;

// Digests and public-key checks over libcrypto, shared by the firmware and the program update
// checks. Every key is made and freed inside one call; byte arrays hold big-endian numbers.
namespace OpenSSLUtil {

struct KeyDeleter {
    void operator()(evp_pkey_st* key) const;
};
using Key = std::unique_ptr<evp_pkey_st, KeyDeleter>;

QByteArray md5(const QByteArray& data);
QByteArray sha1(const QByteArray& data);
QByteArray sha256(const QByteArray& data);
// SHA-1 of a file read in blocks, never whole; `ok` (may be null) tells whether it was read.
QByteArray sha1OfFile(const QString& path, bool* ok);

// An RSA public key from its modulus and exponent. Throws std::invalid_argument.
Key rsaPublicKey(const QByteArray& modulus, const QByteArray& exponent);
// Opens a PKCS #1 v1.5 type 1 block with the public key; false (and a log line) when it does not
// open under the key.
bool rsaPublicDecrypt(const QByteArray& modulus, const QByteArray& exponent,
                      const QByteArray& block, QByteArray* out);
enum class Digest { Md5, Sha256 };
// Checks a standard PKCS #1 v1.5 signature over a digest of the given kind.
bool rsaVerify(Digest kind, const QByteArray& digest, const QByteArray& block,
               const QByteArray& modulus, const QByteArray& exponent);
// The modulus and exponent of an RSA public key in PEM "PUBLIC KEY" form; false when the text
// holds no RSA public key.
bool rsaPublicKeyNumbers(const QByteArray& pem, QByteArray* modulus, QByteArray* exponent);

// A DSA public key in PEM "PUBLIC KEY" form. Throws std::invalid_argument.
Key readDsaPublicKey(const QByteArray& pem);
// Checks a DER-encoded DSA signature made over the SHA-1 digest of `data`.
bool dsaVerify(const QByteArray& data, const QByteArray& signature, const QByteArray& pem);

} // namespace OpenSSLUtil
