// The commands that change the model or read files: opening and saving a
// model, Loop subdivision with what follows it, the parameterization with
// its notices, loading a texture image and choosing the uniform colour. Each
// turns the core's outcome into what the user sees.
#pragma once

#include <string>

#include "app/messages.h"
#include "base/outcome.h"
#include "base/progress.h"

// "Ouvrir un modèle": asks for a model file and replaces the current model by
// its content; a cancelled dialog changes nothing.
void openModel();
// Reads the model file at path (everything openModel does after the dialog):
// the file read and parsed and its topology built aside, then it becomes the
// model on screen with its title and the view reset. A faulty file or a
// refused topology gets an error box with the reason, and the model on screen
// stays; with no model yet it ends the program with its message. True when
// the file was opened.
bool loadModelFile(const std::string& path);
// Writes the model on screen at path in the format its extension names; a
// model with no face left is refused (outcomeEmptyModel), a file that cannot
// be written too (outcomeWriteFailed, naming the file).
CommandEnd writeModelTo(const std::string& path);
// "Sauver le modèle": writes the current model next to modelPath as
// "<name>_n.off", makes it the current modelPath, updates the title and
// confirms. A file that cannot be written, or a model with no face left, is
// reported as an error and changes nothing. Does nothing without a model.
void saveModel();
// One Loop step, then the topology rebuilt, or the parameterization renewed
// when the mesh had (u,v) coordinates. Returns outcomeOk when done; a notice
// of the re-parameterization (outcomeNoOpening .. outcomeUnsolved: the refined
// mesh stays, without (u,v)); or the refusal of the step or of the rebuild,
// the mesh, (u,v), cut record and view then as they were before. Before
// anything is allocated, a step that needs more memory than
// editMemoryAvailable() tells (subdivisionMemoryNeed) is refused with
// outcomeSubdivisionMemory. The progress, when given, is told on this thread
// from 0 to 1 over the step and what follows it.
Outcome subdivideModel(const Progress* progress = nullptr);
// Bytes the system can still give (availableMemoryBytes; tests put a
// stand-in here).
extern long long (*editMemoryAvailable)();
// "Subdivision de Loop": subdivideModel, with the box its outcome calls for.
void subdivideLoop();
// Computes the (u,v) coordinates unless they exist or no model is loaded.
// Returns outcomeOk, a notice about the model's shape, or another refusal
// (the topology, the solver, memory) with the model put back as it was. The
// progress, when given, is told on this thread from 0 to 1.
Outcome parameterizeOutcome(const Progress* progress = nullptr);
// parameterizeOutcome with its box: a mesh without opening gets its notice
// once (closedWarned); the other notices theirs each time; any other refusal
// an error box "La paramétrisation n'est pas possible : ...".
void parameterizeModel();
// "Charger une texture": dialog, decoding, upload into texture [2]. An
// unusable image gets an error box with the reason; the texture stays.
void loadTexture();
// Open dialog for a texture file, offering path as the initial name; true and
// the chosen path in path when the user confirmed a file.
bool chooseTextureFile(std::string& path);
// "Choisir la couleur unie": the colour chooser, then texture [1] refilled.
void chooseUniformColor();

// The file name of a path: the part after its last '/'.
std::string modelFileName(const std::string& path);
// "Vormelin 0.35 - modèle affiché : " followed by the file name of path.
std::string modelWindowTitle(const std::string& path);
