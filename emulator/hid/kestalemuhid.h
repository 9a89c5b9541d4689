#pragma once

/* The eight hidapi calls of the HID status device, answered by the emulated device.
 *
 * Same signatures and types as hidapi's, under their own names, so a program can hold both
 * sets in one table of function pointers and pick one at start-up: these when the environment
 * variable KESTAL_EMULATOR names an emulator, hidapi's otherwise. The hid_device pointers
 * handed out here are not hidapi's and must only go back to these functions.
 *
 * Threads: every function may be called from any thread; a device handle must not be used by
 * two threads at once (as with hidapi). Error texts belong to the library and stay valid until
 * the next call on the same handle (or, for the global text, the next call on the same thread).
 */

#include <hidapi/hidapi.h>

#include <stddef.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 0 when the emulator named by KESTAL_EMULATOR answers; -1 otherwise (unset variable
 * included). Calling it again after a failure tries again. */
int kestal_emu_hid_init(void);

/* The emulated device's HID interface when it is attached and matches the identifiers
 * (0 matches any); NULL otherwise. Free the list with kestal_emu_hid_free_enumeration. */
struct hid_device_info* kestal_emu_hid_enumerate(unsigned short vendor_id,
                                                 unsigned short product_id);

/* Frees a list from kestal_emu_hid_enumerate; NULL is allowed. */
void kestal_emu_hid_free_enumeration(struct hid_device_info* devs);

/* Opens the interface with this path as currently enumerated; NULL when the path is not the
 * emulated interface or the device is not attached. The handle goes stale when the device
 * leaves the bus: later reads fail, as on a real device, and a new open is needed. */
hid_device* kestal_emu_hid_open_path(const char* path);

/* Copies the product string (at most maxlen wide characters, terminated); 0 or -1. */
int kestal_emu_hid_get_product_string(hid_device* dev, wchar_t* string, size_t maxlen);

/* Reads the input report whose id is data[0] (only report 0 exists): byte 0 is the report id,
 * byte 1 the status (0x02 HDMI source connected, 0x01 a stream runs). Returns the number of
 * bytes written (at most length), or -1. */
int kestal_emu_hid_get_input_report(hid_device* dev, unsigned char* data, size_t length);

/* The last error on `dev`, or the last error of this thread's open/enumerate/init calls when
 * dev is NULL. Never NULL. */
const wchar_t* kestal_emu_hid_error(hid_device* dev);

/* Closes a handle from kestal_emu_hid_open_path; NULL is allowed. */
void kestal_emu_hid_close(hid_device* dev);

#ifdef __cplusplus
}
#endif
