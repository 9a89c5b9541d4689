#pragma once

#include <QStringList>

// What the command-line options asked for beyond the environment switches they set.
struct StartupOptions {
    bool openLogFile = false;
};

// Sets the rendering environment switches from the options in `arguments` (the program's
// arguments without the program itself) and logs them. Must run before the Qt application
// exists, since Qt reads some of the switches at start.
StartupOptions applyStartupOptions(const QStringList& arguments);

// The application version as it is logged: cut before its third '.'.
QString displayVersion(const QString& version);

// Logs the arguments and settles the OpenGL implementation hint; runs once logging is set up.
void logStartupEnvironment(const QStringList& arguments);
