#include "guiresources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must not be used inside a namespace.
static void initBrowserResources()
{
    Q_INIT_RESOURCE(browser);
}

namespace veldra {

void initGuiResources()
{
    static const bool done = [] {
        initBrowserResources();
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace veldra
