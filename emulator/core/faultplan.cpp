#include "faultplan.h"

namespace quendral::emulator {

namespace {

const char* readFaultWord(ReadFault fault) {
    return fault == ReadFault::Short ? "short" : "error";
}

const char* vanishWord(VanishStep step) {
    switch (step) {
    case VanishStep::Initiation:
        return "init";
    case VanishStep::DataWrite:
        return "write";
    case VanishStep::Finalization:
        return "finalize";
    case VanishStep::Closing:
        return "close";
    case VanishStep::None:
        break;
    }
    return "none";
}

} // namespace

void FaultPlan::apply(const FaultChange& change) {
    switch (change.what) {
    case FaultChange::What::Clear:
        *this = FaultPlan{};
        break;
    case FaultChange::What::RefuseInitiation:
        refuseInitiation = true;
        break;
    case FaultChange::What::FailDataWrite:
        failDataWrite = change.index;
        break;
    case FaultChange::What::FailFinalization:
        failFinalization = true;
        break;
    case FaultChange::What::BusyForever:
        busyForever = true;
        break;
    case FaultChange::What::Vanish:
        vanishStep = change.step;
        vanishDataWrite = change.step == VanishStep::DataWrite ? change.index : 0;
        break;
    case FaultChange::What::XuRead:
        xuReadFault = change.read;
        xuReadSelector = change.selector;
        break;
    case FaultChange::What::HidRead:
        hidReadFault = change.read;
        break;
    }
}

std::string FaultPlan::describe() const {
    std::string out;
    auto add = [&out](const std::string& word) {
        if (!out.empty()) {
            out += ", ";
        }
        out += word;
    };
    if (refuseInitiation) {
        add("init");
    }
    if (failDataWrite != 0) {
        add("write " + std::to_string(failDataWrite));
    }
    if (failFinalization) {
        add("finalize");
    }
    if (busyForever) {
        add("busy");
    }
    if (vanishStep != VanishStep::None) {
        std::string word = std::string("vanish ") + vanishWord(vanishStep);
        if (vanishStep == VanishStep::DataWrite) {
            word += " " + std::to_string(vanishDataWrite);
        }
        add(word);
    }
    if (xuReadFault != ReadFault::None) {
        std::string word = std::string("read ") + readFaultWord(xuReadFault);
        if (xuReadSelector != 0) {
            word += " " + std::to_string(xuReadSelector);
        }
        add(word);
    }
    if (hidReadFault != ReadFault::None) {
        add(std::string("hid ") + readFaultWord(hidReadFault));
    }
    return out.empty() ? "none" : out;
}

} // namespace quendral::emulator
