// What the commands do when run by name (the command line): the handlers the
// menu commands run, without their boxes, each ending in a CommandEnd that
// the caller turns into words with commandMessage. The command table
// (app/menu_commands.h) names them beside the menu entry they belong to.
#pragma once

#include <string>

#include "app/messages.h"
#include "base/progress.h"

// One run of a command by name: its number or path, and whether the same command comes next.
struct CommandCall {
    int number = 0;
    std::string path;
    bool sameCommandNext = false;
    // Where long work tells its progress; null for none.
    const Progress* progress = nullptr;
};

// --subdivide N: N Loop steps as "Subdivision de Loop" makes them.
CommandEnd subdivideTimes(const CommandCall& call);
// --parameterize: the (u,v) the displays compute.
CommandEnd parameterizeByName(const CommandCall& call);
// --cut-vertex I, --cut-edge I (a second one right after is the second click), --cut-face I:
// the click of a cut mode on element I.
CommandEnd cutVertexByName(const CommandCall& call);
CommandEnd cutEdgeByName(const CommandCall& call);
CommandEnd cutFaceByName(const CommandCall& call);
// --undo: Enter right after the click of a cut.
CommandEnd undoByName(const CommandCall& call);
// --save FILE: the model in the format FILE's extension names.
CommandEnd saveByName(const CommandCall& call);
// --save-uv FILE: the model with its (u,v) as OBJ, parameterized first if need be.
CommandEnd saveUvByName(const CommandCall& call);
// --stats: the statistics text on the standard output.
CommandEnd statisticsByName(const CommandCall& call);
// --snapshot IMAGE: one frame of the view, drawn offscreen, as PNG or JPEG.
CommandEnd snapshotByName(const CommandCall& call);

// The JPEG image of --texture, empty when none was given.
extern std::string namedTexturePath;
