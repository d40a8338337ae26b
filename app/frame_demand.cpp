// The loop's question after each frame: does the picture need another one?
#include "app/frame_demand.h"

#include "platform/platform.h"
#include "render/view_state.h"

namespace {
// The view and texture tiling as the previous question saw them.
ViewValues lastView = {};
int lastTiling = 0;
} // namespace

bool pictureNeedsFrame()
{
    const bool viewChanged = !(currentView == lastView) || textureTiling != lastTiling;
    lastView = currentView;
    lastTiling = textureTiling;
    if (viewChanged || withAnimation)
        return true;
    for (int key = 0; key < platformKeyCount; ++key)
        if (platformKeyDown(static_cast<PlatformKey>(key)))
            return true;
    return false;
}
