// The OFF reader's fuzz inputs (every seed: each format rule's faulty case,
// huge and overflowing counts, bad indices, NaN and infinite coordinates,
// 150/151-character lines, CR LF, no final line feed, an empty file; and
// every input that once failed) opened through the dialog: a coherent model
// that saves and reads back the same, or the fatal box with the model released.
#define LLVMFuzzerTestOneInput offReaderInput
#include "fuzz/off_reader_fuzz.cpp"
#undef LLVMFuzzerTestOneInput

#include "tests/model/robust_seeds.h"

namespace {

TEST(RobustOffInputs, EverySeedLoadsOrEndsWithTheFatalBox)
{
    EXPECT_GE(runFuzzInputs("off_reader", offReaderInput), 40);
    resetHarnessState();
    scriptReset();
}

// The fatal ones among them really end with "Fichier modèle erroné" and no model.
TEST(RobustOffInputs, FaultySeedsEndWithTheFatalBox)
{
    for (const char* name : {"empty.off", "header_lower.off", "counts_zero.off", "face_five_corners.off",
                             "line_151.off", "counts_overflow.off", "index_negative.off", "fewer_lines_than_counts.off",
                             "counts_huge.off", "last_line_151_no_lf.off"}) {
        SCOPED_TRACE(name);
        resetHarnessState();
        scriptFileAnswers.push_back(std::string(SOURCE_DIR) + "/fuzz/corpus/off_reader/" + name);
        bool ended = false;
        try {
            openModel();
        } catch (const FatalExit& exit) {
            ended = true;
            EXPECT_EQ(exit.status, 255);
        }
        EXPECT_TRUE(ended);
        EXPECT_TRUE(lastBoxIsFatal("Fichier modèle erroné"));
        EXPECT_FALSE(currentModel.modelLoaded);
        EXPECT_EQ(storeInvariantFault(), "");
    }
    resetHarnessState();
    scriptReset();
}

} // namespace
