// Limits of what the layers read from the model store.
#include "render/layer_support.h"

#include <algorithm>

#include "base/store.h"

int drawableVertexCount()
{
    size_t held = std::min({vertexX.size(), vertexY.size(), vertexZ.size()});
    return std::clamp(vertexCount, 0, static_cast<int>(std::min<size_t>(held, 0x7fffffff)));
}

int drawableFaceCount()
{
    size_t held = std::min({faceA.size(), faceB.size(), faceC.size()});
    return std::clamp(faceCount, 0, static_cast<int>(std::min<size_t>(held, 0x7fffffff)));
}

int drawableEdgeCount(int count)
{
    if (!topologyBuilt)
        return 0;
    size_t held = std::min(edgeA.size(), edgeB.size());
    return std::clamp(count, 0, static_cast<int>(std::min<size_t>(held, 0x7fffffff)));
}
