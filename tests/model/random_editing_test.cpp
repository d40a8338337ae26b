// Random editing sessions on generated meshes: hundreds of sequences of cut
// modes, picks, clicks, Enter undos, subdivision steps and parameterizations,
// with the store's coherence (corners in range, every vertex used, an edge
// table that matches the triangles and the literal build, counts and flags
// that agree) checked after every step, and every cut made in one mode and
// followed by Enter undone exactly. The sessions are the ones the
// editing fuzz target decodes, here from seeded pseudo-random bytes.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fuzz/edit_sequence.h"

namespace {

class RandomEditingTest : public ::testing::Test {
protected:
    void SetUp() override { resetHarnessState(); }
    void TearDown() override { resetHarnessState(); }
};

// Bytes a step reads after its own (see edit_sequence::step).
int argumentBytes(int op)
{
    switch (op) {
    case 3:
    case 12:
    case 14: return 3;
    case 13: return 4;
    default: return 0;
    }
}

// Bytes choosing a shape (see edit_sequence::setUpMesh), each with the
// number of bytes it reads, then the lift.
void appendShape(std::mt19937& random, std::vector<std::uint8_t>& bytes)
{
    auto add = [&](int value) { bytes.push_back(static_cast<std::uint8_t>(value)); };
    const int shape = static_cast<int>(random() % 5);
    add(shape);
    switch (shape) {
    case 0: {
        add(random() % 6);
        add(random() % 6);
        const int holes = static_cast<int>(random() % 8);
        add(holes);
        if (holes % 4 == 0)
            for (int k = 0; k < 4; ++k)
                add(random() % 256);
        break;
    }
    case 1: add(random() % 5); add(random() % 5); break;
    case 2:
    case 3: add(random() % 9); break;
    default: {
        add(random() % 12);
        const int faces = 1 + static_cast<int>(random() % 24);
        add(faces - 1);
        for (int k = 0; k < 3 * faces; ++k)
            add(random() % 256);
    }
    }
    add(random() % 4);
}

// The bytes of one session: a shape, then steps. Gestures (a mode, a pick
// and a click) are made more frequent than the other steps, so that most
// sessions cut something.
std::vector<std::uint8_t> sessionBytes(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes;
    appendShape(random, bytes);
    const int steps = 10 + static_cast<int>(random() % 40);
    for (int s = 0; s < steps; ++s) {
        int op = byte(random) % 24;
        // 16 .. 23: a cut gesture (12), a mode switched on then a click with
        // Enter (0, 1 or 2, then 14), or two edge clicks (13).
        if (op >= 16 && op < 19) {
            bytes.push_back(static_cast<std::uint8_t>(op - 16));
            op = 14;
        } else if (op >= 16) {
            op = op < 22 ? 12 : 13;
        }
        bytes.push_back(static_cast<std::uint8_t>(op));
        for (int k = 0; k < argumentBytes(op); ++k)
            bytes.push_back(static_cast<std::uint8_t>(byte(random)));
    }
    return bytes;
}

TEST_F(RandomEditingTest, EveryStepKeepsTheStoreCoherent)
{
    int sessions = 0, steps = 0, changes = 0, undos = 0, fatalEnds = 0;
    for (unsigned seed = 1; seed <= 400; ++seed) {
        resetHarnessState();
        std::vector<std::uint8_t> bytes = sessionBytes(seed);
        InputBytes in{bytes.data(), bytes.size()};
        edit_sequence::SessionResult result = edit_sequence::runSession(in);
        ASSERT_EQ(result.fault, "") << "session " << seed;
        sessions += result.steps > 0;
        steps += result.steps;
        changes += result.meshChanges;
        undos += result.undosChecked;
        fatalEnds += result.endedFatally;
    }
    // The sessions really edit: most run, and the mesh changes often.
    EXPECT_GT(sessions, 300);
    EXPECT_GT(changes, steps / 10);
    EXPECT_GT(undos, 50);
    RecordProperty("steps", steps);
    RecordProperty("meshChanges", changes);
    RecordProperty("undosChecked", undos);
    RecordProperty("fatalEnds", fatalEnds);
}

// Sessions that keep subdividing and parameterizing between cuts, on the
// closed and open shapes: the refined meshes must stay as coherent as the
// first ones.
TEST_F(RandomEditingTest, CutsBetweenSubdivisionsKeepTheStoreCoherent)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        resetHarnessState();
        std::mt19937 random(seed * 7919u);
        std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(seed % 4), 2, 2, 1, 1};
        for (int s = 0; s < 12; ++s) {
            const std::uint8_t ops[4] = {8, 12, 9, 14};
            bytes.push_back(ops[s % 4]);
            for (int k = 0; k < argumentBytes(ops[s % 4]); ++k)
                bytes.push_back(static_cast<std::uint8_t>(random() & 0xff));
        }
        InputBytes in{bytes.data(), bytes.size()};
        edit_sequence::SessionResult result = edit_sequence::runSession(in);
        ASSERT_EQ(result.fault, "") << "session " << seed;
    }
}

} // namespace
