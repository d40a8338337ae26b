// Coherence checks of the model store.
#include "tests/support/store_invariants.h"

#include <string>

#include "render/view_state.h"
#include "model/cutting.h"
#include "app/cut_modes.h"
#include "app/session.h"
#include "model/mesh_check.h"

std::string storeInvariantFault() { return meshFault(currentModel); }

std::string cutStateFault()
{
    for (int mode : {interaction.vertexCutMode, interaction.edgeCutMode, interaction.faceCutMode})
        if (mode != 0 && mode != 1)
            return "a cut mode is neither 0 nor 1";
    if (interaction.cutModeActive && interaction.vertexCutMode == 0 && interaction.edgeCutMode == 0 && interaction.faceCutMode == 0)
        return "cutModeActive while every cut mode is off";
    if (interaction.cutKind < 0 || interaction.cutKind > 3)
        return "cutKind " + std::to_string(interaction.cutKind) + " out of range";
    return "";
}
