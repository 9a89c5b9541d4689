#pragma once

#include "applicationstate.h"

// Tells the user of a change of the application state in a short message outside the window:
// through the tray icon where there is one, else through the desktop's notification service.
class StateNotifier {
public:
    virtual ~StateNotifier() = default;
    virtual void showStateNotification(ApplicationState state) = 0;

protected:
    // Start-up and the short steps between pausing and sharing go unannounced.
    static bool isAnnounced(ApplicationState state) {
        return state == NoDevice || state == NoHdmiSource || state == DeviceInUse ||
               state == Paused || state == Sharing;
    }
};
