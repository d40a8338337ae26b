// Snapshots: one frame of the GL view drawn offscreen, with no window and no
// display, read back and written as a PNG or JPEG image. The frame is renderFrame()'s,
// on the start-up GL state of the window's view at the same size, after the
// view state is set from the snapshot settings.
#pragma once

#include <optional>
#include <string>

#include "base/outcome.h"

// What a snapshot shows and from where; fields left unset keep the start view.
struct SnapshotSettings {
    // Size of the image in pixels.
    int width = 640, height = 640;
    // The layer list was given: exactly the layers below are shown.
    bool layersGiven = false;
    bool axes = false, vertices = false, edges = false, faces = true, normals = false, borders = false,
         boundary = false, uvPlane = false, texture = false;
    // "Modèle texturé" on; faces blended with transparency.
    bool textured = false, transparency = false;
    // The uniform colour (0x00BBGGRR) when given.
    std::optional<unsigned int> color;
    // Camera values of the view state when given.
    std::optional<double> viewAngleX, viewAngleY, viewAngleZ, cameraDistance, modelScale, panX, panY;
};

// The settings every snapshot of this run uses.
extern SnapshotSettings snapshotSettings;
// Makes current an offscreen GL context of the given size (created on the
// first call); set by the program that links an offscreen platform module.
// Null: snapshots are refused with outcomeNoOffscreenView.
extern bool (*snapshotContextMaker)(int width, int height);

// The settings need the (u,v) coordinates (the textured model, the boundary or the (u,v)-plane display).
bool snapshotNeedsUv();
// Draws one frame of the current model with snapshotSettings into an
// offscreen context and writes it at path (through a temporary file) as an
// RGB JPEG when its extension is .jpg or .jpeg, as an RGB PNG otherwise. textureImage is uploaded as texture [2] when
// textureLoaded is set. Returns outcomeNoOffscreenView when no context can
// be had, outcomeFileNotWritten when the file could not be written (nothing
// left at path then), outcomeOk otherwise. The (u,v) the settings need must
// exist already.
Outcome writeSnapshot(const std::string& path);
