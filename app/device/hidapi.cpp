#include "hidapi.h"

#include "kestalemuhid.h"

#include <QtGlobal>

namespace {

const HidApi* overridden = nullptr;

} // namespace

const HidApi& HidApi::system() {
    static const HidApi api{hid_init,
                            hid_enumerate,
                            hid_free_enumeration,
                            hid_open_path,
                            hid_get_product_string,
                            hid_get_input_report,
                            hid_error,
                            hid_close};
    return api;
}

const HidApi& HidApi::emulated() {
    static const HidApi api{kestal_emu_hid_init,
                            kestal_emu_hid_enumerate,
                            kestal_emu_hid_free_enumeration,
                            kestal_emu_hid_open_path,
                            kestal_emu_hid_get_product_string,
                            kestal_emu_hid_get_input_report,
                            kestal_emu_hid_error,
                            kestal_emu_hid_close};
    return api;
}

const HidApi& HidApi::current() {
    if (overridden)
        return *overridden;
    static const HidApi& chosen =
        qEnvironmentVariableIsEmpty("KESTAL_EMULATOR") ? system() : emulated();
    return chosen;
}

void HidApi::setCurrent(const HidApi* api) {
    overridden = api;
}
