// The values the program works on: the model on screen and what the user is
// doing with it. The application owns both; a command builds a new model
// aside and puts it here only once it is whole.
#pragma once

#include "model/mesh.h"
#include "render/interaction.h"

// The model on screen (empty before the first one is opened).
extern Mesh currentModel;
// The cut modes, the last pick, the click latch and the cut record.
extern Interaction interaction;
