#pragma once

#include <QByteArray>

// Decides whether a downloaded firmware image is the maker's: an RSA signature over the image's
// MD5 digest (the bare digest or PKCS #1 v1.5), or PKCS #1 v1.5 over its SHA-256 digest, given
// as hexadecimal text with the least significant byte first. Keys under 2048 bits verify nothing.
namespace FWChecker {

// Against the key the program was built to trust.
bool verify(const QByteArray& image, const QByteArray& signatureText);
bool verify(const QByteArray& image, const QByteArray& signatureText, const QByteArray& modulus,
            const QByteArray& exponent);

} // namespace FWChecker
