#include "installer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace appcast {

namespace {

// Waits for the program to end before installing, so that the package manager never replaces a
// running program and the restarted one does not meet the old one.
const char kInstallScript[] = R"script(program_pid=$1 package=$2 program=$3
while kill -0 "$program_pid" 2>/dev/null; do sleep 0.2; done
pkexec apt-get install -y "$package"
rm -rf "$(dirname "$package")"
exec "$program"
)script";

QString manualInstallHint(const QString& file) {
    return QCoreApplication::translate("appcast::Installer",
                                       "The update was saved as %1. Install it with: "
                                       "sudo apt-get install %1")
        .arg(file);
}

} // namespace

bool PackageInstaller::start(const QString& file, QString* error) {
    if (!file.endsWith(QLatin1String(".deb"), Qt::CaseInsensitive)) {
        *error = QCoreApplication::translate(
                     "appcast::Installer",
                     "This update is not a Debian package and cannot be installed here. "
                     "It was saved as %1.")
                     .arg(file);
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("pkexec")).isEmpty()) {
        *error = QCoreApplication::translate(
                     "appcast::Installer",
                     "Installing needs pkexec (package policykit-1), which is not available.") +
                 QLatin1Char(' ') + manualInstallHint(file);
        return false;
    }
    const QStringList arguments = {QStringLiteral("-c"),
                                   QString::fromLatin1(kInstallScript),
                                   QStringLiteral("appcast-install"),
                                   QString::number(QCoreApplication::applicationPid()),
                                   QFileInfo(file).absoluteFilePath(),
                                   QCoreApplication::applicationFilePath()};
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), arguments)) {
        *error = QCoreApplication::translate("appcast::Installer",
                                             "The installer could not be started.") +
                 QLatin1Char(' ') + manualInstallHint(file);
        return false;
    }
    return true;
}

} // namespace appcast
