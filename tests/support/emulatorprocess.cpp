#include "emulatorprocess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kCommandTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 5000;
constexpr unsigned long kPollIntervalMs = 10;

} // namespace

QString EmulatorProcess::binary() {
    return QStringLiteral(KESTAL_EMULATOR_BINARY);
}

EmulatorProcess::EmulatorProcess(const QString& socketPath, const QStringList& startOptions)
    : socketPath_(socketPath) {
    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon_.setStandardOutputFile(QProcess::nullDevice());
    daemon_.start(binary(), QStringList{QStringLiteral("--socket"), socketPath_,
                                        QStringLiteral("start"), QStringLiteral("--quiet")} +
                                startOptions);
    if (!daemon_.waitForStarted(kStartTimeoutMs))
        return;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kStartTimeoutMs && daemon_.state() == QProcess::Running) {
        if (QFileInfo(socketPath_).exists() && control({QStringLiteral("status")})) {
            listening_ = true;
            return;
        }
        QThread::msleep(kPollIntervalMs);
    }
}

EmulatorProcess::~EmulatorProcess() {
    if (daemon_.state() == QProcess::NotRunning)
        return;
    control({QStringLiteral("stop")});
    if (!daemon_.waitForFinished(kStopTimeoutMs)) {
        daemon_.kill();
        daemon_.waitForFinished(kStopTimeoutMs);
    }
}

bool EmulatorProcess::control(const QStringList& words) const {
    QProcess tool;
    tool.setStandardOutputFile(QProcess::nullDevice());
    tool.start(binary(), QStringList{QStringLiteral("--socket"), socketPath_} + words);
    return tool.waitForFinished(kCommandTimeoutMs) && tool.exitStatus() == QProcess::NormalExit &&
           tool.exitCode() == 0;
}
