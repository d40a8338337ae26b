// The cut modes, their forced display flags, the click and the Enter.
#include "app/cut_modes.h"

#include "app/edit_guard.h"
#include "app/session.h"
#include "app/messages.h"

#include "model/cutting.h"
#include "render/layers.h"
#include "render/view_state.h"

namespace {
// Display flags as they were when each mode was switched on.
bool vertexSavedShowVertices = false, vertexSavedShowNormals = false;
bool edgeSavedShowEdges = false, edgeSavedShowNormals = false, edgeSavedShowBoundary = false;
bool faceSavedShowEdges = false, faceSavedShowNormals = false, faceSavedShowFaces = false;

void enterCutMode(int kind)
{
    currentView.cursorTracked = false;
    interaction.cutModeActive = true;
    interaction.cutKind = kind;
}

// A cut that was made or refused ends its mode; only the first edge of a
// two-click cut keeps it on, waiting for the second click, and a cut refused
// with a reason keeps everything as it was.
CutResult finishCut(int kind, CutResult result)
{
    if (result.outcome != outcomeOk) {
        showCommandEnd({result.outcome, "La découpe", "", ""});
        return result;
    }
    if (result.effect == cutFirstEdgeKept)
        return result;
    if (result.effect != cutRefused)
        interaction.closedWarned = false;
    interaction.cutModeActive = false;
    if ((kind == cutKindVertex && result.effect == cutMade) || result.effect == cutMadeOnSecondEdge)
        flashBorders(currentModel);
    if (kind == cutKindVertex && interaction.vertexCutMode == 1)
        toggleVertexCut();
    if (kind == cutKindEdge && interaction.edgeCutMode == 1)
        toggleEdgeCut();
    if (kind == cutKindFace && interaction.faceCutMode == 1)
        toggleFaceCut();
    return result;
}
} // namespace

void toggleVertexCut()
{
    interaction.vertexCutMode = 1 - interaction.vertexCutMode;
    if (interaction.vertexCutMode == 1) {
        vertexSavedShowVertices = currentView.showVertices;
        vertexSavedShowNormals = currentView.showNormals;
        currentView.showVertices = true;
        currentView.showNormals = false;
        enterCutMode(cutKindVertex);
    } else {
        currentView.showVertices = vertexSavedShowVertices;
        currentView.showNormals = vertexSavedShowNormals;
        interaction.cutModeActive = false;
    }
}

void toggleEdgeCut()
{
    interaction.edgeCutMode = 1 - interaction.edgeCutMode;
    if (interaction.edgeCutMode == 1) {
        edgeSavedShowEdges = currentView.showEdges;
        edgeSavedShowNormals = currentView.showNormals;
        edgeSavedShowBoundary = currentView.showBoundary;
        currentView.showEdges = true;
        currentView.showNormals = false;
        currentView.showBoundary = true;
        enterCutMode(cutKindEdge);
    } else {
        currentView.showEdges = edgeSavedShowEdges;
        currentView.showNormals = edgeSavedShowNormals;
        currentView.showBoundary = edgeSavedShowBoundary;
        interaction.cutModeActive = false;
    }
}

void toggleFaceCut()
{
    interaction.faceCutMode = 1 - interaction.faceCutMode;
    if (interaction.faceCutMode == 1) {
        faceSavedShowEdges = currentView.showEdges;
        faceSavedShowNormals = currentView.showNormals;
        faceSavedShowFaces = currentView.showFaces;
        currentView.showEdges = true;
        currentView.showNormals = false;
        currentView.showFaces = true;
        enterCutMode(cutKindFace);
    } else {
        currentView.showEdges = faceSavedShowEdges;
        currentView.showNormals = faceSavedShowNormals;
        currentView.showFaces = faceSavedShowFaces;
        interaction.cutModeActive = false;
    }
}

CutResult applyCut()
{
    // The picked index names an element of the kind whose highlight chose it;
    // it is handed only to the cut of that kind.
    const int kind = interaction.picked.kind;
    CutResult last = {cutRefused, outcomeOk};
    if (interaction.vertexCutMode == 1 && (kind == cutKindNone || kind == cutKindVertex))
        last = finishCut(cutKindVertex, guardedCut(cutVertex, interaction.picked.element));
    if (interaction.edgeCutMode == 1 && (kind == cutKindNone || kind == cutKindEdge))
        last = finishCut(cutKindEdge, guardedCut(cutEdge, interaction.picked.element));
    if (interaction.faceCutMode == 1 && (kind == cutKindNone || kind == cutKindFace))
        last = finishCut(cutKindFace, guardedCut(cutFace, interaction.picked.element));
    return last;
}

CutResult undoCut()
{
    CutResult result = guardedCut(undoAsCut, 0);
    if (result.outcome != outcomeOk)
        showCommandEnd({result.outcome, "L'annulation de la découpe", "", ""});
    else if (result.effect != cutRefused)
        interaction.closedWarned = false;
    // Enter after a click always shows the borders, whether or not there was a cut to undo.
    flashBorders(currentModel);
    return result;
}

void initCutModes()
{
    interaction.vertexCutMode = interaction.edgeCutMode = interaction.faceCutMode = 0;
    interaction.cutModeActive = false;
    interaction.cutKind = cutKindNone;
    interaction.picked.kind = cutKindNone;
    interaction.cuts = CutRecord();
    vertexSavedShowVertices = vertexSavedShowNormals = false;
    edgeSavedShowEdges = edgeSavedShowNormals = edgeSavedShowBoundary = false;
    faceSavedShowEdges = faceSavedShowNormals = faceSavedShowFaces = false;
}
