// Shared pieces of the fuzz targets.
#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "app/messages.h"
#include "model/cutting.h"
#include "model/store.h"
#include "platform/platform_script.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "render/view_state.h"

namespace {
[[noreturn]] void throwFatalExit(int status) { throw FatalExit{status}; }
} // namespace

void resetProgramState()
{
    releaseModel();
    modelPath.clear();
    initViewState();
    initCutState();
    initMouseState();
    pickedElement = -1;
    scriptReset();
    platformExitHook = throwFatalExit;
}

void requireNoFault(const std::string& fault, const char* where)
{
    if (fault.empty())
        return;
    std::fprintf(stderr, "\n*** %s: %s\n", where, fault.c_str());
    std::abort();
}

bool lastBoxIsFatal(const char* text)
{
    if (scriptBoxes.empty())
        return false;
    return scriptBoxes.back().text == std::string("Erreur irrémédiable\n\nL'application va se terminer\n\n") + text;
}
