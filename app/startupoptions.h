#pragma once

#include <QStringList>

#include <cstdio>

// What the command-line options asked for beyond the environment switches they set.
struct StartupOptions {
    bool openLogFile = false;
};

// Sets the rendering environment switches from the options in `arguments` (the program's
// arguments without the program itself) and logs them. Must run before the Qt application
// exists, since Qt reads some of the switches at start.
StartupOptions applyStartupOptions(const QStringList& arguments);

// What the command line asks before anything starts: to run, or only for an answer that needs
// neither a display nor the running copy.
enum class CommandLineRequest {
    Run,
    Usage,
    Version,
    // An option that neither the program nor Qt knows, such as a mistyped one.
    UnknownOption,
};
// `*unknown` receives the option that makes the request UnknownOption.
CommandLineRequest commandLineRequest(const QStringList& arguments, QString* unknown);
// Prints the answer to `request` (other than Run) and returns the process's exit code.
int answer(CommandLineRequest request, const QString& unknown);

// The command line's usage: asked for, it goes to standard output; after a mistake, to standard
// error with it.
void printUsage(std::FILE* stream);

// The application version as it is logged: cut before its third '.'.
QString displayVersion(const QString& version);

// Logs the arguments and settles the OpenGL implementation hint; runs once logging is set up.
void logStartupEnvironment(const QStringList& arguments);
