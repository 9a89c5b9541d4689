#include "updateserver.h"

#include <QtGlobal>

namespace {

// No public update server exists for this program yet; the reserved example domain keeps the
// address from ever reaching somebody else's host.
const char kDefaultUpdateServer[] = "http://updates.quendral.example";

} // namespace

QString updateServerBase() {
    QString base = qEnvironmentVariable("CASTWELL_UPDATE_SERVER");
    if (base.isEmpty())
        base = QString::fromLatin1(kDefaultUpdateServer);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}
