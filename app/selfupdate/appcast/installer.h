#pragma once

#include <QString>

#include <optional>

namespace appcast {

// Starts the installation of a downloaded, verified update. The program quits right after a
// successful start, so whatever runs must outlive it, and it leaves its outcome where the next
// run of the program finds it.
class Installer {
public:
    virtual ~Installer() = default;
    // False with the reason, in words for the user, when nothing was started.
    virtual bool start(const QString& file, const QString& version, QString* error) = 0;
};

// How the last installation ended, as the installer wrote it down.
struct InstallOutcome {
    QString version;
    QString package;
    // The exit status of pkexec: apt-get's own, or pkexec's 126 (authorization dismissed) and
    // 127 (not authorized, or apt-get could not be run).
    int status = 0;
    // The last lines apt-get and pkexec wrote.
    QString output;

    bool succeeded() const { return status == 0; }
    // In words for the user, with the command that installs the package by hand.
    QString failureText() const;
};

// Reads the outcome the installer left in `file`, once: the file goes.
std::optional<InstallOutcome> takeInstallOutcome(const QString& file);

// The command that installs `package` by hand, in a sentence for the user.
QString manualInstallHint(const QString& package);

// Debian packages, installed by apt-get with the rights pkexec asks the user for, after the
// program has ended. The outcome goes to a file only the user can read; the downloaded file's
// folder goes when the installation succeeded; then the program starts again.
class PackageInstaller : public Installer {
public:
    // `programPid` is waited for and `program` started again afterwards; by default, this
    // program.
    explicit PackageInstaller(const QString& outcomeFile, qint64 programPid = 0,
                              const QString& program = QString());
    bool start(const QString& file, const QString& version, QString* error) override;

private:
    QString outcomeFile_;
    qint64 programPid_;
    QString program_;
};

} // namespace appcast
