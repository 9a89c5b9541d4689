#pragma once

#include <QString>

namespace appcast {

// Starts the installation of a downloaded, verified update. The program quits right after a
// successful start, so whatever runs must outlive it.
class Installer {
public:
    virtual ~Installer() = default;
    // False with the reason, in words for the user, when nothing was started.
    virtual bool start(const QString& file, QString* error) = 0;
};

// Debian packages, installed by apt-get with the rights pkexec asks the user for. The
// downloaded file's folder goes when the installation ends, and the program starts again.
class PackageInstaller : public Installer {
public:
    bool start(const QString& file, QString* error) override;
};

} // namespace appcast
