// Limits of what the layers read from the model store.
#include "render/layer_support.h"

#include <algorithm>

#include "model/mesh.h"

int drawableVertexCount(const Mesh& mesh)
{
    size_t held = std::min({mesh.vertexX.size(), mesh.vertexY.size(), mesh.vertexZ.size()});
    return std::clamp(mesh.vertexCount, 0, static_cast<int>(std::min<size_t>(held, 0x7fffffff)));
}

int drawableFaceCount(const Mesh& mesh)
{
    size_t held = std::min({mesh.faceA.size(), mesh.faceB.size(), mesh.faceC.size()});
    return std::clamp(mesh.faceCount, 0, static_cast<int>(std::min<size_t>(held, 0x7fffffff)));
}

int drawableEdgeCount(const Mesh& mesh, int count)
{
    if (!mesh.topologyBuilt)
        return 0;
    size_t held = std::min(mesh.edgeA.size(), mesh.edgeB.size());
    return std::clamp(count, 0, static_cast<int>(std::min<size_t>(held, 0x7fffffff)));
}
