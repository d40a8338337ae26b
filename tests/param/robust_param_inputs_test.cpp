// The parameterization fuzz inputs (seeds with NaN, infinite, huge, tiny and
// coincident coordinates, and every input that once failed): finite (u,v)
// pairs or a box saying why not, and a subdivision equal to the literal step.
#define LLVMFuzzerTestOneInput parameterizeInput
#include "fuzz/parameterize_fuzz.cpp"
#undef LLVMFuzzerTestOneInput

#include "tests/model/robust_seeds.h"

namespace {

TEST(RobustParamInputs, EverySeedGivesFiniteCoordinatesOrABox)
{
    EXPECT_GE(runFuzzInputs("parameterize", parameterizeInput), 13);
    resetHarnessState();
    scriptReset();
}

} // namespace
