#include "common/version.h"

namespace quendral::fwupdate {

namespace {
std::uint32_t key(const Version& v) {
    return (std::uint32_t{v.major} << 24) + (std::uint32_t{v.minor} << 16) + v.build;
}
} // namespace

VersionRelation DefaultVersionComparator::operator()(const Version& a, const Version& b) const {
    const std::uint32_t keyA = key(a);
    const std::uint32_t keyB = key(b);
    if (keyA == 0 || keyB == 0) {
        return VersionRelation::NotComparable;
    }
    if (keyA == keyB) {
        return VersionRelation::Same;
    }
    return keyA < keyB ? VersionRelation::Older : VersionRelation::Newer;
}

} // namespace quendral::fwupdate
