// The loop's question after each frame: does the picture need another one?
#include "app/frame_demand.h"

#include "app/session.h"
#include "platform/platform.h"
#include "render/textures.h"
#include "render/view_state.h"

namespace {
// The view, texture tiling, model and textures as the previous question saw them.
ViewValues lastView = {};
int lastTiling = 0;
std::uint64_t lastRevision = 0;
unsigned long long lastUploads = 0;
} // namespace

bool pictureNeedsFrame()
{
    const bool changed = !(currentView == lastView) || textureTiling != lastTiling ||
                         currentModel.revision != lastRevision || textureRevision() != lastUploads;
    lastView = currentView;
    lastTiling = textureTiling;
    lastRevision = currentModel.revision;
    lastUploads = textureRevision();
    if (changed || currentView.withAnimation)
        return true;
    for (int key = 0; key < platformKeyCount; ++key)
        if (platformKeyDown(static_cast<PlatformKey>(key)))
            return true;
    return false;
}
