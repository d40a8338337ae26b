// Editing sessions decoded from the input: a small mesh, then cut modes,
// picks, clicks, Enter undos, subdivision steps and parameterizations, with
// the store's coherence checked after every step (see edit_sequence.h).
// With VORMELIN_FUZZ_TRACE set in the environment every step is printed,
// which helps to read a crashing input.
#include <cstdlib>

#include "fuzz/edit_sequence.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    resetHarnessState();
    InputBytes in{data, size};
    static const bool trace = std::getenv("VORMELIN_FUZZ_TRACE") != nullptr;
    edit_sequence::SessionResult result = edit_sequence::runSession(in, trace);
    requireNoFault(result.fault, "editing session");
    resetHarnessState();
    return 0;
}
