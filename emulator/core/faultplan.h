#pragma once

#include <cstdint>
#include <string>

namespace quendral::emulator {

enum class ReadFault : std::uint8_t { None, Short, Error };

/// Steps of a firmware transfer at which the device can be made to vanish.
enum class VanishStep : std::uint8_t { None, Initiation, DataWrite, Finalization, Closing };

/// One change to the fault plan, as a control command asks for it.
struct FaultChange {
    enum class What : std::uint8_t {
        Clear,
        RefuseInitiation,
        FailDataWrite,
        FailFinalization,
        BusyForever,
        Vanish,
        XuRead,
        HidRead,
    };
    What what = What::Clear;
    std::uint32_t index = 0; ///< FailDataWrite, Vanish at DataWrite: 1-based write number
    VanishStep step = VanishStep::None;
    ReadFault read = ReadFault::None;
    std::uint8_t selector = 0; ///< XuRead: 0 = every readable selector
};

/// Faults the emulated device plays. They stay until cleared, except a vanish, which happens
/// once: after it the device stays away until it is plugged in again.
struct FaultPlan {
    bool refuseInitiation = false;
    std::uint32_t failDataWrite = 0; ///< 1-based number of the data write in a transfer; 0: none
    bool failFinalization = false;
    bool busyForever = false;
    VanishStep vanishStep = VanishStep::None;
    std::uint32_t vanishDataWrite = 0;
    ReadFault xuReadFault = ReadFault::None;
    std::uint8_t xuReadSelector = 0; ///< 0: every readable selector
    ReadFault hidReadFault = ReadFault::None;

    void apply(const FaultChange& change);
    /// "none" or the active faults, space separated, in the words the control command takes.
    std::string describe() const;
};

} // namespace quendral::emulator
