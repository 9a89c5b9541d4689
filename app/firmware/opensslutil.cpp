#include "opensslutil.h"

#include <QDebug>
#include <QFile>

#include <openssl/bn.h>
#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/param_build.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>

#include <stdexcept>

namespace OpenSSLUtil {

namespace {

constexpr qint64 kFileBlockBytes = 8192;

template <typename T, void (*Free)(T*)> struct Deleter {
    void operator()(T* object) const { Free(object); }
};
using BigNum = std::unique_ptr<BIGNUM, Deleter<BIGNUM, BN_free>>;
using Context = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX, EVP_MD_CTX_free>>;
using MemoryBio = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using ParamBuilder = std::unique_ptr<OSSL_PARAM_BLD, Deleter<OSSL_PARAM_BLD, OSSL_PARAM_BLD_free>>;
using Params = std::unique_ptr<OSSL_PARAM, Deleter<OSSL_PARAM, OSSL_PARAM_free>>;

const unsigned char* bytes(const QByteArray& data) {
    return reinterpret_cast<const unsigned char*>(data.constData());
}

unsigned char* bytes(QByteArray& data) {
    return reinterpret_cast<unsigned char*>(data.data());
}

size_t length(const QByteArray& data) {
    return static_cast<size_t>(data.size());
}

QByteArray digest(const EVP_MD* type, const QByteArray& data) {
    QByteArray result(EVP_MD_get_size(type), '\0');
    unsigned int size = 0;
    if (EVP_Digest(data.constData(), length(data), bytes(result), &size, type, nullptr) != 1)
        return QByteArray();
    result.resize(static_cast<int>(size));
    return result;
}

BigNum bigNumber(const QByteArray& data) {
    BigNum number(BN_bin2bn(bytes(data), static_cast<int>(data.size()), nullptr));
    // A zero never makes a usable key; treat it as unreadable rather than fail later.
    if (number && BN_is_zero(number.get()))
        number.reset();
    return number;
}

QByteArray toBytes(const BIGNUM* number) {
    QByteArray result(BN_num_bytes(number), '\0');
    BN_bn2bin(number, bytes(result));
    return result;
}

Key readPublicKey(const QByteArray& pem) {
    MemoryBio bio(BIO_new_mem_buf(pem.constData(), static_cast<int>(pem.size())));
    if (!bio)
        throw std::invalid_argument("Cannot read PEM key");
    return Key(PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr));
}

// The key's own context set up for a public-key operation with PKCS #1 v1.5 padding.
Context rsaContext(const Key& key, int (*init)(EVP_PKEY_CTX*)) {
    Context context(EVP_PKEY_CTX_new(key.get(), nullptr));
    if (!context || init(context.get()) <= 0 ||
        EVP_PKEY_CTX_set_rsa_padding(context.get(), RSA_PKCS1_PADDING) <= 0)
        throw std::runtime_error(ERR_error_string(ERR_get_error(), nullptr));
    return context;
}

} // namespace

void KeyDeleter::operator()(evp_pkey_st* key) const {
    EVP_PKEY_free(key);
}

QByteArray md5(const QByteArray& data) {
    return digest(EVP_md5(), data);
}

QByteArray sha1(const QByteArray& data) {
    return digest(EVP_sha1(), data);
}

QByteArray sha256(const QByteArray& data) {
    return digest(EVP_sha256(), data);
}

QByteArray sha1OfFile(const QString& path, bool* ok) {
    bool dummy = false;
    bool& result = ok ? *ok : dummy;
    result = false;
    QFile file(path);
    DigestContext context(EVP_MD_CTX_new());
    if (!file.open(QIODevice::ReadOnly) || !context ||
        EVP_DigestInit_ex(context.get(), EVP_sha1(), nullptr) != 1)
        return QByteArray();
    QByteArray block(kFileBlockBytes, '\0');
    for (;;) {
        const qint64 read = file.read(block.data(), kFileBlockBytes);
        if (read < 0)
            return QByteArray();
        if (read == 0)
            break;
        EVP_DigestUpdate(context.get(), block.constData(), static_cast<size_t>(read));
    }
    QByteArray digestBytes(EVP_MD_get_size(EVP_sha1()), '\0');
    if (EVP_DigestFinal_ex(context.get(), bytes(digestBytes), nullptr) != 1)
        return QByteArray();
    result = true;
    return digestBytes;
}

Key rsaPublicKey(const QByteArray& modulus, const QByteArray& exponent) {
    const BigNum e = bigNumber(exponent);
    if (!e)
        throw std::invalid_argument("Invalid exponent for pub key");
    const BigNum n = bigNumber(modulus);
    if (!n)
        throw std::invalid_argument("Invalid pub key");

    ParamBuilder builder(OSSL_PARAM_BLD_new());
    if (!builder || !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_N, n.get()) ||
        !OSSL_PARAM_BLD_push_BN(builder.get(), OSSL_PKEY_PARAM_RSA_E, e.get()))
        throw std::invalid_argument("Invalid pub key");
    const Params params(OSSL_PARAM_BLD_to_param(builder.get()));
    Context context(EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr));
    EVP_PKEY* key = nullptr;
    if (!params || !context || EVP_PKEY_fromdata_init(context.get()) <= 0 ||
        EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_PUBLIC_KEY, params.get()) <= 0)
        throw std::invalid_argument("Invalid pub key");
    return Key(key);
}

bool rsaPublicDecrypt(const QByteArray& modulus, const QByteArray& exponent,
                      const QByteArray& block, QByteArray* out) {
    try {
        const Key key = rsaPublicKey(modulus, exponent);
        const Context context = rsaContext(key, EVP_PKEY_verify_recover_init);
        QByteArray buffer(EVP_PKEY_get_size(key.get()), '\0');
        size_t size = length(buffer);
        if (EVP_PKEY_verify_recover(context.get(), bytes(buffer), &size, bytes(block),
                                    length(block)) <= 0 ||
            size == 0) {
            ERR_clear_error();
            qDebug("OpenSSLUtil: Failed to decrypt data");
            return false;
        }
        buffer.resize(static_cast<int>(size));
        if (out)
            *out = buffer;
        return true;
    } catch (const std::exception& error) {
        ERR_clear_error();
        qDebug("OpenSSLUtil: %s", error.what());
        return false;
    }
}

bool rsaVerify(Digest kind, const QByteArray& digestBytes, const QByteArray& block,
               const QByteArray& modulus, const QByteArray& exponent) {
    try {
        const Key key = rsaPublicKey(modulus, exponent);
        const Context context = rsaContext(key, EVP_PKEY_verify_init);
        const EVP_MD* type = kind == Digest::Sha256 ? EVP_sha256() : EVP_md5();
        if (EVP_PKEY_CTX_set_signature_md(context.get(), type) <= 0)
            throw std::runtime_error(ERR_error_string(ERR_get_error(), nullptr));
        const bool valid = EVP_PKEY_verify(context.get(), bytes(block), length(block),
                                           bytes(digestBytes), length(digestBytes)) == 1;
        ERR_clear_error();
        return valid;
    } catch (const std::exception& error) {
        ERR_clear_error();
        qDebug("OpenSSLUtil: %s", error.what());
        return false;
    }
}

bool rsaPublicKeyNumbers(const QByteArray& pem, QByteArray* modulus, QByteArray* exponent) {
    try {
        const Key key = readPublicKey(pem);
        BIGNUM* n = nullptr;
        BIGNUM* e = nullptr;
        const bool found = key && EVP_PKEY_is_a(key.get(), "RSA") &&
                           EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_N, &n) &&
                           EVP_PKEY_get_bn_param(key.get(), OSSL_PKEY_PARAM_RSA_E, &e);
        const BigNum ownedN(n);
        const BigNum ownedE(e);
        ERR_clear_error();
        if (!found)
            return false;
        *modulus = toBytes(n);
        *exponent = toBytes(e);
        return true;
    } catch (const std::exception& error) {
        qDebug("OpenSSLUtil: %s", error.what());
        return false;
    }
}

Key readDsaPublicKey(const QByteArray& pem) {
    Key key = readPublicKey(pem);
    if (!key || !EVP_PKEY_is_a(key.get(), "DSA")) {
        ERR_clear_error();
        throw std::invalid_argument("Cannot read DSA public key from PEM");
    }
    return key;
}

bool dsaVerify(const QByteArray& data, const QByteArray& signature, const QByteArray& pem) {
    try {
        const QByteArray digestBytes = sha1(data);
        const Key key = readDsaPublicKey(pem);
        const Context context(EVP_PKEY_CTX_new(key.get(), nullptr));
        if (!context || EVP_PKEY_verify_init(context.get()) <= 0)
            throw std::runtime_error(ERR_error_string(ERR_get_error(), nullptr));
        const int verified = EVP_PKEY_verify(context.get(), bytes(signature), length(signature),
                                             bytes(digestBytes), length(digestBytes));
        if (verified < 0)
            throw std::runtime_error(ERR_error_string(ERR_get_error(), nullptr));
        ERR_clear_error();
        return verified == 1;
    } catch (const std::exception& error) {
        ERR_clear_error();
        qDebug("OpenSSLUtil: %s", error.what());
        return false;
    }
}

} // namespace OpenSSLUtil
