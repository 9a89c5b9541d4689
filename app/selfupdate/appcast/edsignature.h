#pragma once

#include <QByteArray>
#include <QString>

namespace appcast {

// True when `publicKeyPem` holds an Ed25519 public key.
bool isEd25519PublicKey(const QByteArray& publicKeyPem);

// Checks an Ed25519 signature (64 bytes, Base64 as feeds carry it) over the whole of `file`.
// False, with the reason for the log in `why`, when the file cannot be read or the signature does
// not verify.
bool verifyEd25519(const QString& file, const QByteArray& signatureBase64,
                   const QByteArray& publicKeyPem, QString* why);

} // namespace appcast
