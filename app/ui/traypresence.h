#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Follows whether the desktop shows tray icons. Panels and their tray extensions come and go
// while the program runs, so the answer is asked for again every few seconds.
class TrayPresence : public QObject {
    Q_OBJECT
public:
    using Probe = std::function<bool()>;

    // `probe` answers whether a tray is there now; the default asks the desktop.
    explicit TrayPresence(Probe probe = {}, QObject* parent = nullptr);
    ~TrayPresence() override;

    bool isAvailable() const { return available_; }

signals:
    void availabilityChanged(bool available);

public slots:
    void recheck();

private:
    Probe probe_;
    QTimer timer_;
    bool available_;
};
