// The commands run by name: the menu's own handlers, their ends told to the caller.
#include "app/named_commands.h"

#include <cstdio>

#include "app/edit_guard.h"
#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "app/snapshot.h"
#include "app/uv_export.h"
#include "model/cutting.h"
#include "render/textures.h"
#include "texture/texture.h"

std::string namedTexturePath;

namespace {

// The (u,v) a command needs, computed as the menu does; outcomeOk when they exist.
Outcome ensureUv(const CommandCall& call)
{
    return currentModel.uvComputed ? outcomeOk : parameterizeOutcome(call.progress);
}

// The click of a cut mode on the element: what the window's click does, told.
CommandEnd cutByName(CutResult (*cut)(Mesh&, CutRecord&, int), const CommandCall& call)
{
    CutResult result = guardedCut(cut, call.number);
    interaction.cutPickPending = false;
    if (result.outcome != outcomeOk)
        return {result.outcome, "La découpe", "", ""};
    if (result.effect == cutRefused)
        return {outcomeNothingCut, "", "", ""};
    if (result.effect == cutFirstEdgeKept) {
        if (call.sameCommandNext)
            return {};
        forgetPendingCut(interaction.cuts);
        return {outcomeSecondEdgeMissing, "", "", ""};
    }
    interaction.closedWarned = false;
    interaction.cutPickPending = true;
    return {};
}

} // namespace

CommandEnd subdivideTimes(const CommandCall& call)
{
    for (int step = 0; step < call.number; ++step) {
        // One bar for the N steps, each its share.
        const Progress part = progressPart(call.progress, step / double(call.number), (step + 1) / double(call.number));
        Outcome outcome = subdivideModel(&part);
        if (outcome != outcomeOk)
            return {outcome, "La subdivision", "", ""};
    }
    return {};
}

CommandEnd parameterizeByName(const CommandCall& call) { return {ensureUv(call), "La paramétrisation", "", ""}; }

CommandEnd cutVertexByName(const CommandCall& call) { return cutByName(cutVertex, call); }
CommandEnd cutEdgeByName(const CommandCall& call) { return cutByName(cutEdge, call); }
CommandEnd cutFaceByName(const CommandCall& call) { return cutByName(cutFace, call); }

CommandEnd undoByName(const CommandCall&)
{
    if (!interaction.cutPickPending)
        return {outcomeNothingToUndo, "", "", ""};
    interaction.cutPickPending = false;
    CutResult result = guardedCut(undoAsCut, 0);
    if (result.outcome != outcomeOk)
        return {result.outcome, "L'annulation de la découpe", "", ""};
    if (result.effect == cutRefused)
        return {outcomeNothingToUndo, "", "", ""};
    interaction.closedWarned = false;
    return {};
}

CommandEnd saveByName(const CommandCall& call) { return writeModelTo(call.path); }

CommandEnd saveUvByName(const CommandCall& call)
{
    Outcome outcome = ensureUv(call);
    if (outcome != outcomeOk)
        return {outcome, "La paramétrisation", "", ""};
    if (!writeUvObjFile(call.path))
        return {outcomeFileNotWritten, "", call.path, ""};
    return {};
}

CommandEnd statisticsByName(const CommandCall&)
{
    std::printf("%s\n", statisticsText().c_str());
    return {};
}

CommandEnd snapshotByName(const CommandCall& call)
{
    if (snapshotNeedsUv()) {
        Outcome outcome = ensureUv(call);
        if (outcome != outcomeOk)
            return {outcome, "La paramétrisation", "", ""};
    }
    if (!namedTexturePath.empty() && !textureImages.textureLoaded) {
        Outcome outcome = decodeJpegTexture(namedTexturePath, textureImages.textureImage);
        if (outcome != outcomeOk)
            return {outcome, "", "", namedTexturePath};
        textureImages.textureLoaded = true;
    }
    Outcome outcome = writeSnapshot(call.path);
    return {outcome, "", outcome == outcomeFileNotWritten ? call.path : "", ""};
}
