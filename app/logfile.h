#pragma once

#include <QtGlobal>

#include <QString>

// Appends every Qt log message, time-stamped, to "Castwell.log" in the temporary folder while
// it exists. One at a time; the previous message handler comes back when it is destroyed.
class LogFile {
public:
    LogFile();
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    static QString path();

private:
    QtMessageHandler previousHandler_ = nullptr;
    bool installed_ = false;
};

void logMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);
