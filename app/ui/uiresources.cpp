#include "uiresources.h"

#include <QtGlobal>

void registerUiResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(ui);
        return true;
    }();
    Q_UNUSED(registered)
}
