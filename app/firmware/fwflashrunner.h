#pragma once

#include <QByteArray>
#include <QObject>

#include <chrono>

class Tindrel;

// Carries out one flash: hands the verified image to the library, then polls it until it
// reports a result. Lives in the firmware thread.
class FWFlashRunner : public QObject {
    Q_OBJECT
public:
    explicit FWFlashRunner(std::chrono::milliseconds pollInterval = std::chrono::seconds(1));

signals:
    void progress(quint8 value);
    void successed();
    void failed();

public slots:
    void start(const QByteArray& firmware);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    Tindrel* updater_;
    const std::chrono::milliseconds pollInterval_;
};
