// The model on screen and the interaction state.
#include "app/session.h"

Mesh currentModel;
Interaction interaction;
