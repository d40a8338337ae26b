// The topology builder's fuzz inputs (seeds and every input that once
// failed): the builder agrees with the literal build, refusal for refusal and
// table for table, and builds its own result again unchanged.
#define LLVMFuzzerTestOneInput topologyInput
#include "fuzz/topology_fuzz.cpp"
#undef LLVMFuzzerTestOneInput

#include "tests/model/robust_seeds.h"

namespace {

TEST(RobustTopologyInputs, EverySeedMatchesTheLiteralBuild)
{
    EXPECT_GE(runFuzzInputs("topology", topologyInput), 20);
    resetHarnessState();
    scriptReset();
}

} // namespace
