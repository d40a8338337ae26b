// The editing-session fuzz inputs (seeds and every input that once failed):
// each session keeps the store coherent at every step.
#define LLVMFuzzerTestOneInput editSequenceInput
#include "fuzz/edit_sequence_fuzz.cpp"
#undef LLVMFuzzerTestOneInput

#include "tests/model/robust_seeds.h"

namespace {

TEST(RobustEditInputs, EverySessionKeepsTheStoreCoherent)
{
    EXPECT_GE(runFuzzInputs("edit_sequence", editSequenceInput), 13);
    resetHarnessState();
    scriptReset();
}

} // namespace
