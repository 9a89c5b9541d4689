#include "privatesessionbus.h"

#include <QFile>

namespace {

constexpr int kStartTimeoutMs = 10000;

const char kConfig[] = "<busconfig><type>session</type><listen>unix:dir=%1</listen>"
                       "<auth>EXTERNAL</auth><policy context=\"default\">"
                       "<allow send_destination=\"*\" eavesdrop=\"true\"/>"
                       "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>";

} // namespace

PrivateSessionBus::PrivateSessionBus()
    : name_(QStringLiteral("private-bus-%1").arg(reinterpret_cast<quintptr>(this)))
    , connection_(name_) {
    QFile config(dir_.filePath(QStringLiteral("bus.conf")));
    if (!dir_.isValid() || !config.open(QIODevice::WriteOnly))
        return;
    config.write(QString::fromLatin1(kConfig).arg(dir_.path()).toUtf8());
    config.close();
    daemon_.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address=1")});
    while (!daemon_.canReadLine()) {
        if (!daemon_.waitForReadyRead(kStartTimeoutMs))
            return;
    }
    address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
    connection_ = QDBusConnection::connectToBus(address_, name_);
}

PrivateSessionBus::~PrivateSessionBus() {
    QDBusConnection::disconnectFromBus(name_);
    daemon_.kill();
    daemon_.waitForFinished();
}
