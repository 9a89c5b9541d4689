#include "viewfindersettingstext.h"

#include <QCameraViewfinderSettings>
#include <QDebug>

QString viewfinderSettingsText(const QCameraViewfinderSettings& settings) {
    if (settings.isNull())
        return QStringLiteral("QCameraViewfinderSettings()");
    QString text;
    QDebug(&text).nospace().noquote()
        << "QCameraViewfinderSettings(" << settings.resolution() << ", " << settings.pixelFormat()
        << ", PAR:" << settings.pixelAspectRatio() << ", FPS:" << settings.minimumFrameRate() << "-"
        << settings.maximumFrameRate() << ")";
    return text;
}
