#include "sessionsandbox.h"

#include <QDir>
#include <QFile>

namespace {

const char* const kVariables[][2] = {
    {"XDG_CONFIG_HOME", "config"},
    {"XDG_RUNTIME_DIR", "runtime"},
    {"TMPDIR", "tmp"},
};

} // namespace

SessionSandbox::SessionSandbox() {
    QDir root(dir_.path());
    for (const auto& variable : kVariables)
        root.mkpath(QString::fromLatin1(variable[1]));
    // The runtime folder must be the user's alone, or Qt refuses to use it.
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString SessionSandbox::path(const QString& relative) const {
    return relative.isEmpty() ? dir_.path() : QDir(dir_.path()).filePath(relative);
}

void SessionSandbox::enter() const {
    qputenv("HOME", QFile::encodeName(path()));
    for (const auto& variable : kVariables)
        qputenv(variable[0], QFile::encodeName(path(QString::fromLatin1(variable[1]))));
}

QProcessEnvironment SessionSandbox::environment() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), path());
    for (const auto& variable : kVariables)
        environment.insert(QString::fromLatin1(variable[0]),
                           path(QString::fromLatin1(variable[1])));
    return environment;
}
