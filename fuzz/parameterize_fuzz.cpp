// The parameterization (and a subdivision step after it, compared with the
// literal step) on small meshes whose coordinates come from the input:
// coincident vertices, zeros, NaN, infinities, huge and tiny values. Either the (u,v) pairs are computed and
// finite, or an information box says why not; the store stays coherent.
// (The edit_sequence.h pieces give the shapes and the literal comparison.)
#include <cmath>
#include <limits>

#include "fuzz/edit_sequence.h"

namespace {

double coordinateFrom(InputBytes& in)
{
    const std::uint8_t b = in.byte();
    switch (b % 16) {
    case 0: return 0.0;
    case 1: return 1.0;
    case 2: return -1.0;
    case 3: return 0.5;
    case 4: return 1e-300;
    case 5: return 1e300;
    case 6: return std::numeric_limits<double>::quiet_NaN();
    case 7: return std::numeric_limits<double>::infinity();
    case 8: return -std::numeric_limits<double>::infinity();
    case 9: return std::numeric_limits<double>::denorm_min();
    case 10: return -0.0;
    case 11: return 1e-8;
    default: return (b >> 4) - 8.0;
    }
}

// Replaces some coordinates as the input says, then recomputes the centre
// and radius as a load does; the topology is built again.
bool setCoordinates(InputBytes& in)
{
    edit_sequence::Vertices v;
    edit_sequence::Faces f;
    for (int i = 0; i < currentModel.vertexCount; ++i)
        v.push_back({currentModel.vertexX[i], currentModel.vertexY[i], currentModel.vertexZ[i]});
    for (int i = 0; i < currentModel.faceCount; ++i)
        f.push_back({currentModel.faceA[i], currentModel.faceB[i], currentModel.faceC[i]});
    for (auto& p : v) {
        const std::uint8_t mode = in.byte();
        if (mode % 4 == 1) {
            p = v[in.byte() % v.size()];
        } else if (mode % 4 == 2) {
            p[mode / 4 % 3] = coordinateFrom(in);
        } else if (mode % 4 == 3) {
            p = {coordinateFrom(in), coordinateFrom(in), coordinateFrom(in)};
        }
    }
    setMesh(v, f);
    return buildTopology(currentModel) == outcomeOk;
}

// After a parameterization: computed, or refused with a box (or the closed-model notice given once before).
void checkParameterized(size_t boxesBefore, bool warnedBefore)
{
    requireNoFault(storeInvariantFault(), "store after the parameterization");
    if (!currentModel.uvComputed && scriptBoxes.size() == boxesBefore && !(warnedBefore && interaction.closedWarned))
        requireNoFault("no (u,v) and no box to say why", "parameterization");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetHarnessState();
    InputBytes in{data, size};
    if (!edit_sequence::setUpMesh(in) || !setCoordinates(in)) {
        resetHarnessState();
        return 0;
    }
    try {
        size_t boxes = scriptBoxes.size();
        parameterizeModel();
        checkParameterized(boxes, false);
        if (currentModel.faceCount <= 200) {
            boxes = scriptBoxes.size();
            const bool hadUv = currentModel.uvComputed;
            const bool warned = interaction.closedWarned;
            requireNoFault(edit_sequence::subdivideAndCompare(), "subdivision");
            if (hadUv)
                checkParameterized(boxes, warned);
            requireNoFault(storeInvariantFault(), "store after the subdivision");
            boxes = scriptBoxes.size();
            const bool warnedBefore = interaction.closedWarned;
            parameterizeModel();
            checkParameterized(boxes, warnedBefore);
        }
    } catch (const FatalExit&) {
        // The model was loaded: no command may end the program any more.
        requireNoFault("the program ended: " + lastFatalText(), "after the load");
    }
    resetHarnessState();
    return 0;
}
