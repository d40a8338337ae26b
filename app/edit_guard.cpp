// The model kept while an edit is tried.
#include "app/edit_guard.h"

#include <new>
#include <utility>

#include "app/messages.h"
#include "app/session.h"
#include "model/cutting.h"
#include "model/mesh_check.h"
#include "model/topology.h"

namespace {
// The model, the cut record and the notice flag as they were before the edit.
// Its blocks are kept from edit to edit, so that a copy touches no fresh memory.
Mesh keptModel;
CutRecord keptCuts;
bool keptClosedWarned = false;
} // namespace

bool keepModelBeforeEdit()
{
    try {
        keptModel = currentModel;
        keptCuts = interaction.cuts;
    } catch (const std::bad_alloc&) {
        return false;
    }
    keptClosedWarned = interaction.closedWarned;
    return true;
}

void putModelBack()
{
    // Exchanged, not copied: putting the model back never needs memory.
    std::swap(currentModel, keptModel);
    std::swap(interaction.cuts, keptCuts);
    interaction.closedWarned = keptClosedWarned;
}

CutResult guardedCut(CutResult (*cut)(Mesh&, CutRecord&, int), int element)
{
    if (!keepModelBeforeEdit())
        return {cutRefused, outcomeNoMemory};
    CutResult result;
    try {
        result = cut(currentModel, interaction.cuts, element);
    } catch (const std::bad_alloc&) {
        result = {cutRefused, outcomeNoMemory};
    }
    if (result.outcome != outcomeOk)
        putModelBack();
    else if (result.effect != cutRefused)
        checkMeshAfterEdit(currentModel, "a cut or its undo");
    return result;
}

CutResult undoAsCut(Mesh& mesh, CutRecord& cuts, int) { return undoLastCut(mesh, cuts); }
