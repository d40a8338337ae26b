// What every fuzz target shares: the fatal path turned into a return to the
// harness, the program state put back to its start between inputs, and the
// report of a broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Thrown by the process-end hook: fatalError has shown its box and released
// the model, and would now end the process with this status.
struct FatalExit {
    int status;
};

// Puts the store, the view, the cut and mouse state and the scripted platform
// back to program start, and installs the hook that throws FatalExit.
void resetProgramState();

// Ends the run with the description when it is not empty (a finding).
void requireNoFault(const std::string& fault, const char* where);

// True when the last message box is the fatal one with this text (prefix included).
bool lastBoxIsFatal(const char* text);

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
