#include "cameraidentity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace platform {
namespace {

// The video node's device is a USB interface; the USB device holding the identifiers is one of
// its parents.
constexpr int kMaxParentLevels = 4;

QString readIdentifier(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readAll()).trimmed().toLower();
}

} // namespace

QString cameraSystemName(const QString& deviceName, const QString& sysfsRoot) {
    static const QRegularExpression videoNode(QStringLiteral("^/dev/(video\\d+)$"));
    const QRegularExpressionMatch match = videoNode.match(deviceName);
    if (!match.hasMatch())
        return deviceName;
    QString directory = QFileInfo(sysfsRoot + QStringLiteral("/class/video4linux/") +
                                  match.captured(1) + QStringLiteral("/device"))
                            .canonicalFilePath();
    for (int level = 0; level < kMaxParentLevels && !directory.isEmpty(); ++level) {
        const QString vendor = readIdentifier(directory + QStringLiteral("/idVendor"));
        const QString product = readIdentifier(directory + QStringLiteral("/idProduct"));
        if (!vendor.isEmpty() && !product.isEmpty())
            return deviceName + QStringLiteral(" VID_%1&PID_%2").arg(vendor, product);
        const QString parent = QFileInfo(directory).path();
        if (parent == directory)
            break;
        directory = parent;
    }
    return deviceName;
}

} // namespace platform
