/*
 * tindrel: firmware update and USB-mode control of the Kestal capture device.
 *
 * Conventions shared by every function below:
 *  - No function throws or aborts; failures show only in the return value and in lastError().
 *  - Functions marked "resets the error" set the error text to "" when they begin, so after a
 *    call that succeeded lastError() is "". The others leave an earlier text in place.
 *  - Everything returned by pointer belongs to the library: never free or modify it.
 *  - Threads: call initialize, deInitialize, getDeviceInfo, startFWUpdate, getUpdateProgress,
 *    getUpdateResult, resetState and execSpecialFunction from one thread (the application's
 *    firmware thread). isUsb3 and ensureCorrectUsbMode may also be called from one other
 *    thread. The error text is process-wide, so calls on two threads may overwrite each
 *    other's text.
 *  - The device belongs to one process at a time: from the first call that opens it until the
 *    library lets it go (resetState after a flash, deInitialize). Meanwhile other processes
 *    find it with present 0 and "ERROR: device busy - used by another program".
 *  - Order: initialize once; then any of the queries; for a flash startFWUpdate, then poll
 *    getUpdateResult (and getUpdateProgress while it returns false), then resetState;
 *    deInitialize once at the end.
 */
#ifndef TINDREL_TINDREL_H
#define TINDREL_TINDREL_H

#include <stdint.h>

#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#if defined(TINDREL_BUILDING_LIBRARY)
#define TINDREL_API __declspec(dllexport)
#else
#define TINDREL_API __declspec(dllimport)
#endif
#else
#define TINDREL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 1)

/* Firmware version of the device. All zero when unknown. */
typedef struct TindrelVersion {
    uint8_t major;
    uint8_t minor;
    uint16_t build; /* little-endian */
} TindrelVersion;

/* Device information, packed without gaps in exactly this order. */
typedef struct DeviceInfoRecord {
    /* Friendly name of the device's capture interface, NUL-terminated. Never null; "" while
       nothing is known. */
    const char* name;
    TindrelVersion version;
    /* 1 when the device was found and opened. */
    uint8_t present;
    /* 1 unless more than one device of this kind is attached; 0 while an update runs. */
    uint8_t singleDevice;
} DeviceInfoRecord;

#pragma pack(pop)

/* Creates the update engine and starts device-change monitoring. Resets the error.
   Success shows in isInitialized(); on failure lastError() says why. Refused while an update
   runs ("ERROR: cannot initialize - device updating"), keeping the running engine. */
TINDREL_API void initialize(void);

/* Tears the engine down. Resets the error. If an update runs, waits for it to end (polling
   once a second, then without limit), so this may block for minutes.
   Error: "ERROR: library not initialized". */
TINDREL_API void deInitialize(void);

/* True between a successful initialize() and deInitialize(). Does not touch the error. */
TINDREL_API bool isInitialized(void);

/* The text of the last failure, "" after a call that succeeded. Never null. The text is a
   constant owned by the library and stays valid for the life of the process. */
TINDREL_API const char* lastError(void);

/* Asks the device for its name, firmware version and presence. Resets the error.
   Returns the library's record, valid until the next getDeviceInfo() or deInitialize(); null
   when not initialized. While an update runs, returns a record with present 0. */
TINDREL_API const DeviceInfoRecord* getDeviceInfo(void);

/* Starts flashing the `size` bytes at `image` on a background thread. The bytes are copied
   before the call returns. Resets the error. Returns true when the update was started.
   Returns false with an error text when not initialized, when an update runs, when no device
   is present, or when the image is not valid (including a null image with a non-zero size and
   a negative size); returns false with an empty text when a finished update was not reset
   with resetState(), or more than one device is attached. */
TINDREL_API bool startFWUpdate(const char* image, int size);

/* Progress of the running update in percent (0 to 100), or -1 when no transfer is under
   way. Does not reset the error. */
TINDREL_API int getUpdateProgress(void);

/* Resets the error. Returns true when an update has finished, and then stores its outcome in
   *succeeded; returns false (leaving *succeeded untouched) while idle or running, when not
   initialized, or when `succeeded` is null. */
TINDREL_API bool getUpdateResult(bool* succeeded);

/* Returns the engine to idle after a finished update, so that another one can start. Does
   nothing while an update runs. Does not reset the error. */
TINDREL_API void resetState(void);

/* Runs device special function `id`: 0 switches the device to USB 2 mode, 1 back to USB 3
   mode. The device then re-attaches. Resets the error; device failures are not reported. */
TINDREL_API void execSpecialFunction(int id);

/* True when the device runs in USB 3 mode or does not answer the query; false in USB 2 mode,
   when the device does not open, and on an error (see lastError()). Resets the error. */
TINDREL_API bool isUsb3(void);

/* Switches the device into the USB mode the host wants: USB 2 on Windows 7 hosts, USB 3
   elsewhere. Resets the error. Returns true when nothing was switched, false when a switch was
   requested or could not be requested. */
TINDREL_API bool ensureCorrectUsbMode(bool hostIsWindows7);

#ifdef __cplusplus
}
#endif

#endif /* TINDREL_TINDREL_H */
