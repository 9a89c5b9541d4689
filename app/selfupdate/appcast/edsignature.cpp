#include "edsignature.h"

#include <QFile>

#include <openssl/evp.h>
#include <openssl/pem.h>

#include <memory>

namespace appcast {

namespace {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct ContextFree {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
using Key = std::unique_ptr<EVP_PKEY, KeyFree>;

Key readEd25519Key(const QByteArray& pem) {
    std::unique_ptr<BIO, decltype(&BIO_free)> bio(BIO_new_mem_buf(pem.constData(), pem.size()),
                                                  &BIO_free);
    Key key(bio ? PEM_read_bio_PUBKEY(bio.get(), nullptr, nullptr, nullptr) : nullptr);
    if (!key || EVP_PKEY_get_base_id(key.get()) != EVP_PKEY_ED25519)
        return nullptr;
    return key;
}

} // namespace

bool isEd25519PublicKey(const QByteArray& publicKeyPem) {
    return readEd25519Key(publicKeyPem) != nullptr;
}

bool verifyEd25519(const QString& file, const QByteArray& signatureBase64,
                   const QByteArray& publicKeyPem, QString* why) {
    const Key key = readEd25519Key(publicKeyPem);
    const QByteArray signature = QByteArray::fromBase64(signatureBase64);
    QFile input(file);
    if (!key) {
        *why = QStringLiteral("no Ed25519 key");
        return false;
    }
    if (!input.open(QIODevice::ReadOnly)) {
        *why = QStringLiteral("%1: %2").arg(file, input.errorString());
        return false;
    }
    // Ed25519 signs the message whole, so the file is mapped rather than read in pieces.
    static const uchar kNothing = 0;
    const uchar* data = input.size() > 0 ? input.map(0, input.size()) : &kNothing;
    if (!data) {
        *why = QStringLiteral("%1: %2").arg(file, input.errorString());
        return false;
    }
    std::unique_ptr<EVP_MD_CTX, ContextFree> context(EVP_MD_CTX_new());
    const bool verified =
        context && EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) == 1 &&
        EVP_DigestVerify(
            context.get(), reinterpret_cast<const unsigned char*>(signature.constData()),
            static_cast<size_t>(signature.size()), data, static_cast<size_t>(input.size())) == 1;
    if (!verified)
        *why = QStringLiteral("Ed25519 signature does not verify");
    return verified;
}

} // namespace appcast
