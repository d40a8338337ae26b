// The viewer's start-up and run.
#pragma once

#include <string>

// Starts the viewer and runs it to its end: the main window with its GL view
// and status bar, the menu, a first model (the file startModel, or the open
// dialog when it is empty; a cancelled dialog leaves no model), the
// GL scene, then the message loop. Returns the program's exit status.
int runViewer(const std::string& startModel);

