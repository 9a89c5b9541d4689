#pragma once

#include <QString>

#include <memory>

namespace platform {

// Keeps the system from sleeping and the screen from blanking for as long as it exists.
// `who` names the program and `why` the reason, as the system shows them to the user.
//
// Where a part of the platform's power management cannot be reached, that part is left out
// and the gap is logged once per process; the rest still holds.
class SleepInhibitor {
public:
    SleepInhibitor(const QString& who, const QString& why);
    ~SleepInhibitor();

    SleepInhibitor(const SleepInhibitor&) = delete;
    SleepInhibitor& operator=(const SleepInhibitor&) = delete;

private:
    struct Holds;
    std::unique_ptr<Holds> holds_;
};

} // namespace platform
