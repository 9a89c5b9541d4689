#pragma once

#include <QMetaType>
#include <QtGlobal>

// What the device's HID report says about its HDMI input.
enum HIDDeviceState : quint8 {
    CableDisconnected = 0,
    CableConnected = 2,
    Streaming = 3, // a source is connected and some program streams from the camera
};
Q_DECLARE_METATYPE(HIDDeviceState)
