#include "appcontroller.h"
#include "firmwarekey.h"
#include "kestalapplication.h"
#include "logfile.h"
#include "platform/memoryallocator.h"
#include "startupoptions.h"

#include <QApplication>
#include <QDebug>
#include <QSysInfo>
#include <QTimer>

#include <memory>

int main(int argc, char** argv) {
    platform::configureAllocator();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    // Usage and version are answered before anything needs a display, as from a plain terminal.
    QString unknownOption;
    if (const CommandLineRequest request = commandLineRequest(arguments, &unknownOption);
        request != CommandLineRequest::Run)
        return answer(request, unknownOption);

    const StartupOptions options = applyStartupOptions(arguments);
    std::unique_ptr<LogFile> logFile;
    if (options.openLogFile)
        logFile = std::make_unique<LogFile>();
    logStartupEnvironment(arguments);

    int result = 0;
    {
        KestalApplication application(argc, argv);
        qCritical().noquote() << "Application version:"
                              << displayVersion(QCoreApplication::applicationVersion());
        qCritical().noquote() << "OS version:" << QSysInfo::prettyProductName()
                              << "V:" << QSysInfo::productVersion();
        if (!application.init())
            return application.exitCode();
        const FirmwareKey& firmwareKey = FirmwareKey::trusted();
        qCritical().noquote() << "Firmware signing key:" << firmwareKey.name << "(SHA-256"
                              << firmwareKey.fingerprint + QLatin1Char(')');

        AppController controller;
        controller.setUp(&application);
        QTimer::singleShot(0, &controller, &AppController::start);
        QGuiApplication::setQuitOnLastWindowClosed(false);
        result = QApplication::exec();
    }
    return result;
}
