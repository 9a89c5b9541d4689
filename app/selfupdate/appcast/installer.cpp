#include "installer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace appcast {

namespace {

// Waits for the program to end before installing, so that the package manager never replaces a
// running program and the restarted one does not meet the old one. The outcome is written whole
// or not at all, readable by the user alone.
const char kInstallScript[] = R"script(program_pid=$1 package=$2 program=$3 outcome=$4 version=$5
umask 077
while kill -0 "$program_pid" 2>/dev/null; do sleep 0.2; done
output=$(pkexec apt-get install -y "$package" 2>&1)
status=$?
mkdir -p "$(dirname "$outcome")"
{
  printf 'version=%s\npackage=%s\nstatus=%s\n' "$version" "$package" "$status"
  printf '%s\n' "$output" | tail -n 15
} >"$outcome.part" && mv -f "$outcome.part" "$outcome"
[ "$status" -eq 0 ] && rm -rf "$(dirname "$package")"
exec "$program"
)script";

QString tr(const char* text) {
    return QCoreApplication::translate("appcast::Installer", text);
}

// Longest outcome file read; the script writes a few lines.
constexpr qint64 kOutcomeBytes = 64 * 1024;

} // namespace

QString manualInstallHint(const QString& package) {
    return tr("The update was saved as %1. Install it with: sudo apt-get install %1").arg(package);
}

QString InstallOutcome::failureText() const {
    QString reason;
    if (status == 126)
        reason = tr("The installation of %1 was cancelled: the administrator's password was not "
                    "given.")
                     .arg(version);
    else if (status == 127)
        reason = tr("The installation of %1 was not authorized.").arg(version);
    else
        reason = tr("The package manager could not install %1 (exit status %2):\n%3")
                     .arg(version, QString::number(status), output);
    return reason + QStringLiteral("\n\n") + manualInstallHint(package);
}

std::optional<InstallOutcome> takeInstallOutcome(const QString& file) {
    QFile outcomeFile(file);
    if (!outcomeFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(outcomeFile.read(kOutcomeBytes));
    outcomeFile.remove();
    InstallOutcome outcome;
    QStringList output;
    bool statusRead = false;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (statusRead)
            output << line;
        else if (line.startsWith(QLatin1String("version=")))
            outcome.version = line.mid(8);
        else if (line.startsWith(QLatin1String("package=")))
            outcome.package = line.mid(8);
        else if (line.startsWith(QLatin1String("status=")))
            outcome.status = line.mid(7).toInt(&statusRead);
    }
    if (!statusRead)
        return std::nullopt;
    outcome.output = output.join(QLatin1Char('\n')).trimmed();
    return outcome;
}

PackageInstaller::PackageInstaller(const QString& outcomeFile, qint64 programPid,
                                   const QString& program)
    : outcomeFile_(outcomeFile)
    , programPid_(programPid ? programPid : QCoreApplication::applicationPid())
    , program_(program.isEmpty() ? QCoreApplication::applicationFilePath() : program) {}

bool PackageInstaller::start(const QString& file, const QString& version, QString* error) {
    if (!file.endsWith(QLatin1String(".deb"), Qt::CaseInsensitive)) {
        *error = tr("This update is not a Debian package and cannot be installed here. It was "
                    "saved as %1.")
                     .arg(file);
        return false;
    }
    // Both are looked for before the program quits: without them the program would end for an
    // installation that cannot happen.
    for (const char* tool : {"pkexec", "apt-get"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty()) {
            *error = tr("Installing needs %1, which is not available.").arg(QLatin1String(tool)) +
                     QLatin1Char(' ') + manualInstallHint(file);
            return false;
        }
    }
    const QStringList arguments = {QStringLiteral("-c"),
                                   QString::fromLatin1(kInstallScript),
                                   QStringLiteral("appcast-install"),
                                   QString::number(programPid_),
                                   QFileInfo(file).absoluteFilePath(),
                                   program_,
                                   outcomeFile_,
                                   version};
    if (!QProcess::startDetached(QStringLiteral("/bin/sh"), arguments)) {
        *error =
            tr("The installer could not be started.") + QLatin1Char(' ') + manualInstallHint(file);
        return false;
    }
    return true;
}

} // namespace appcast
