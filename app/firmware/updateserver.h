#pragma once

#include <QString>

// Scheme and host of the update server, without a trailing '/'. CASTWELL_UPDATE_SERVER replaces
// the built-in address for development, tests and demonstrations.
QString updateServerBase();
