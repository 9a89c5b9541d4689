#pragma once

#include <QString>

namespace appcast {

// Orders version strings the way appcasts do: runs of digits compare as numbers, runs of
// other characters as text, and at the end of the shorter string a following number makes
// the longer one newer (1.0 < 1.0.1) while a following word makes it older (1.0b1 < 1.0).
// Negative, zero or positive, like strcmp.
int compareVersions(const QString& a, const QString& b);

} // namespace appcast
