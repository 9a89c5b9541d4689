#pragma once

#include <QString>

class QCameraViewfinderSettings;

// The one-line form of viewfinder settings used in the camera's log lines.
QString viewfinderSettingsText(const QCameraViewfinderSettings& settings);
