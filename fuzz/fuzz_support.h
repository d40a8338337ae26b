// What every fuzz target (and the random editing test) shares: the fatal path
// turned into a return to the harness, the program state put back to its
// start between inputs, the report of a broken invariant, and a reader of the
// input bytes. Header only, so that the unit tests can use it as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_window.h"
#include "model/cutting.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/layers.h"
#include "render/mouse.h"
#include "render/view_state.h"

// Thrown by the process-end hook: fatalError has shown its box and released
// the model, and would now end the process with this status.
struct FatalExit {
    int status;
};

[[noreturn]] inline void throwFatalExit(int status) { throw FatalExit{status}; }

// Puts the program and the scripted platform back to program start, and
// installs the hook that throws FatalExit.
inline void resetHarnessState()
{
    resetProgramState();
    currentModel.modelPath.clear();
    interaction.picked.element = -1;
    scriptReset();
    platformExitHook = throwFatalExit;
}

// Ends the run with the description when it is not empty (a finding).
inline void requireNoFault(const std::string& fault, const char* where)
{
    if (fault.empty())
        return;
    std::fprintf(stderr, "\n*** %s: %s\n", where, fault.c_str());
    std::abort();
}

// The text every fatal box starts with.
inline const std::string fatalPrefix = "Erreur irrémédiable\n\nL'application va se terminer\n\n";

// The text of the last fatal box without its prefix; empty when the last box is not fatal.
inline std::string lastFatalText()
{
    if (scriptBoxes.empty() || scriptBoxes.back().text.compare(0, fatalPrefix.size(), fatalPrefix) != 0)
        return "";
    return scriptBoxes.back().text.substr(fatalPrefix.size());
}

// True when the last message box is the fatal one with this text.
// The last box is the fatal one with this text, alone or followed by its reason on the next line.
inline bool lastBoxIsFatal(const char* text)
{
    return !scriptBoxes.empty() &&
           (lastFatalText() == text || lastFatalText().rfind(std::string(text) + "\n", 0) == 0);
}

// Reads the input a few bytes at a time; past its end every read gives 0.
struct InputBytes {
    const std::uint8_t* data;
    size_t size;
    size_t at = 0;

    bool done() const { return at >= size; }
    std::uint8_t byte() { return at < size ? data[at++] : 0; }
    std::uint16_t word()
    {
        std::uint16_t hi = byte();
        return static_cast<std::uint16_t>(hi << 8 | byte());
    }
};
