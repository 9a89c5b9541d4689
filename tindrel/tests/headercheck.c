/* The public header must stay plain C with the record packed as the application reads it. */
#include "tindrel/tindrel.h"

#include <stddef.h>

_Static_assert(offsetof(DeviceInfoRecord, present) == sizeof(const char*) + 4, "packed record");

int tindrelHeaderRecordSizeInC(void) {
    return (int)sizeof(DeviceInfoRecord);
}
