// Progress told by the long commands and the memory weighed before a
// subdivision: the fractions the core tells, the status bar's percentage,
// the estimate of a subdivision's memory against what a step really takes,
// and a step refused for lack of room that leaves the model as it was.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/menu_commands.h"
#include "app/model_commands.h"
#include "app/subdivision_memory.h"
#include "base/progress.h"
#include "base/system_memory.h"
#include "model/subdivision.h"
#include "param/parameterize.h"
#include "tests/app/app_fixture.h"
#include "tests/param/param_meshes.h"

namespace {

// Every report, in order.
struct Recorded {
    std::vector<double> fractions;
    std::vector<std::string> phases;
};

void record(double fraction, const char* phase, void* context)
{
    Recorded& r = *static_cast<Recorded*>(context);
    r.fractions.push_back(fraction);
    r.phases.push_back(phase ? phase : "");
}

Progress recorder(Recorded& r)
{
    Progress p;
    p.report = record;
    p.context = &r;
    return p;
}

void expectMonotoneToOne(const Recorded& r)
{
    ASSERT_FALSE(r.fractions.empty());
    for (size_t i = 0; i < r.fractions.size(); ++i) {
        EXPECT_GE(r.fractions[i], 0.0);
        EXPECT_LE(r.fractions[i], 1.0);
        if (i > 0) {
            EXPECT_GE(r.fractions[i], r.fractions[i - 1]) << "report " << i << " (" << r.phases[i] << ")";
        }
    }
    EXPECT_EQ(r.fractions.back(), 1.0);
}

void expectSameMesh(const Mesh& a, const Mesh& b)
{
    EXPECT_EQ(a.vertexCount, b.vertexCount);
    EXPECT_EQ(a.faceCount, b.faceCount);
    EXPECT_EQ(a.edgeCount, b.edgeCount);
    EXPECT_EQ(a.uvComputed, b.uvComputed);
    EXPECT_TRUE(a.vertexX == b.vertexX && a.vertexY == b.vertexY && a.vertexZ == b.vertexZ);
    EXPECT_TRUE(a.faceA == b.faceA && a.faceB == b.faceB && a.faceC == b.faceC);
    EXPECT_TRUE(a.edgeA == b.edgeA && a.edgeB == b.edgeB && a.edgeFace1 == b.edgeFace1 && a.edgeFace2 == b.edgeFace2);
    EXPECT_TRUE(a.vertexU == b.vertexU && a.vertexV == b.vertexV);
}

// A kilobyte figure of /proc/self/status ("VmRSS", "VmHWM"), or -1.
long long statusKib(const std::string& key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stoll(line.substr(key.size() + 1));
    return -1;
}

// Bytes by which the resident set grew at its peak while `run` ran (the peak
// mark reset first), or -1 where the system cannot tell.
template <typename Run> long long residentPeakGrowth(Run run)
{
    {
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";
        if (!reset)
            return -1;
    }
    const long long before = statusKib("VmRSS");
    run();
    const long long peak = statusKib("VmHWM");
    return before < 0 || peak < 0 ? -1 : (peak - before) * 1024;
}

long long (*const systemMemory)() = editMemoryAvailable;

class ProgressMemoryTest : public AppTest {
protected:
    void TearDown() override { editMemoryAvailable = systemMemory; }
};

} // namespace

TEST(ProgressTell, PartsMapIntoTheWholeAndNullCostsNothing)
{
    tellProgress(nullptr, 0.5, "x");
    Progress none;
    tellProgress(&none, 0.5, "x");
    EXPECT_EQ(progressPart(nullptr, 0.2, 0.4).report, nullptr);

    Recorded r;
    Progress whole = recorder(r);
    Progress part = progressPart(&whole, 0.5, 1.0);
    Progress inner = progressPart(&part, 0.0, 0.5);
    tellProgress(&inner, 0.5, "a");
    tellProgress(&inner, 3.0, "b");
    tellProgress(&part, -1.0, "c");
    ASSERT_EQ(r.fractions.size(), 3u);
    EXPECT_DOUBLE_EQ(r.fractions[0], 0.625);
    EXPECT_DOUBLE_EQ(r.fractions[1], 0.75);
    EXPECT_DOUBLE_EQ(r.fractions[2], 0.5);
    EXPECT_EQ(r.phases[1], "b");
}

TEST(ProgressTell, ThrottleLetsTheFirstTheLastAndOnePerInterval)
{
    ProgressThrottle t;
    double f = 0.1;
    EXPECT_TRUE(progressDue(t, 10.0, f));
    f = 0.2;
    EXPECT_FALSE(progressDue(t, 10.05, f));
    f = 0.3;
    EXPECT_TRUE(progressDue(t, 10.11, f));
    f = 0.25;
    EXPECT_TRUE(progressDue(t, 10.3, f));
    EXPECT_EQ(f, 0.3) << "a fraction below the last shown is raised to it";
    f = 1.0;
    EXPECT_TRUE(progressDue(t, 10.31, f));
}

TEST_F(ProgressMemoryTest, SubdivisionAndParameterizationTellMonotoneFractionsAndChangeNoResult)
{
    // The Loop step alone, on two threads (threshold 0) and on one.
    for (int threads : {0, subdivisionThreadFaceCount}) {
        setJitteredGrid(12, 0.3, 0.2, 5);
        buildTopology(currentModel);
        Mesh start = currentModel;
        ASSERT_EQ(refineLoopStep(currentModel, threads), outcomeOk);
        Mesh quiet = currentModel;
        currentModel = start;
        Recorded r;
        Progress p = recorder(r);
        ASSERT_EQ(refineLoopStep(currentModel, threads, &p), outcomeOk);
        expectMonotoneToOne(r);
        expectSameMesh(quiet, currentModel);
    }

    // The parameterization through the multigrid iteration (> 500 unknowns),
    // then a subdivision of the parameterized mesh, which parameterizes again.
    setJitteredGrid(30, 0.3, 0.2, 7, {100, 101, 400});
    buildTopology(currentModel);
    Mesh start = currentModel;
    SolveReport quietReport, toldReport;
    ASSERT_EQ(parameterize(currentModel, &quietReport), outcomeOk);
    Mesh quiet = currentModel;
    currentModel = start;
    Recorded r;
    Progress p = recorder(r);
    ASSERT_EQ(parameterize(currentModel, &toldReport, &p), outcomeOk);
    EXPECT_EQ(toldReport.path, solvedByPreconditionedKrylov);
    EXPECT_EQ(toldReport.iterationCount[0], quietReport.iterationCount[0]);
    expectMonotoneToOne(r);
    EXPECT_GT(r.fractions.size(), 5u) << "the cycles tell their progress";
    expectSameMesh(quiet, currentModel);

    Mesh parameterized = currentModel;
    ASSERT_EQ(subdivideModel(), outcomeOk);
    quiet = currentModel;
    currentModel = parameterized;
    Recorded s;
    p = recorder(s);
    ASSERT_EQ(subdivideModel(&p), outcomeOk);
    expectMonotoneToOne(s);
    expectSameMesh(quiet, currentModel);
}

TEST_F(ProgressMemoryTest, StatusBarShowsThePercentageDuringTheCommands)
{
    setJitteredGrid(30, 0.3, 0.2, 3);
    buildTopology(currentModel);
    auto percentages = [](const std::string& prefix) {
        std::vector<int> found;
        for (const std::string& text : scriptStatusTexts)
            if (text.rfind(prefix + " ", 0) == 0 && text.size() > 2 && text.compare(text.size() - 2, 2, " %") == 0)
                found.push_back(std::stoi(text.substr(prefix.size() + 1)));
        return found;
    };
    struct Command {
        void (*run)();
        const char* prefix;
    };
    for (Command c : {Command{parameterizeModel, "Paramétrisation en cours…"}, Command{subdivideLoop, "Subdivision en cours…"}}) {
        auto command = c.run;
        const std::string prefix = c.prefix;
        scriptStatusTexts.clear();
        command();
        EXPECT_TRUE(scriptBoxes.empty());
        std::vector<int> shown = percentages(prefix);
        ASSERT_FALSE(shown.empty()) << prefix;
        for (size_t i = 1; i < shown.size(); ++i)
            EXPECT_GT(shown[i], shown[i - 1]) << "a percentage is shown once, going up";
        EXPECT_EQ(shown.back(), 100);
        EXPECT_EQ(scriptStatusText, defaultStatusText);
        EXPECT_EQ(scriptBusyDepth, 0);
    }
    EXPECT_TRUE(currentModel.uvComputed);
}

TEST(SubdivisionMemory, EstimateGrowsWithEveryCount)
{
    const long long base = subdivisionMemoryNeed(1000, 2000, 3000, false);
    EXPECT_GT(subdivisionMemoryNeed(1001, 2000, 3000, false), base);
    EXPECT_GT(subdivisionMemoryNeed(1000, 2001, 3000, false), base);
    EXPECT_GT(subdivisionMemoryNeed(1000, 2000, 3001, false), base);
    EXPECT_GT(subdivisionMemoryNeed(1000, 2000, 3000, true), base);
    EXPECT_GT(subdivisionMemoryNeed(4000, 8000, 12000, false), 3 * base);
    EXPECT_LT(subdivisionMemoryNeed(-5, -5, -5, true), 64) << "negative counts are taken as 0";
    // The largest counts an int holds do not overflow.
    EXPECT_GT(subdivisionMemoryNeed(INT_MAX, INT_MAX, INT_MAX, true), 0);
    EXPECT_GT(availableMemoryBytes(), 0);
}

TEST_F(ProgressMemoryTest, EstimateIsAboveTheResidentPeakOfAStep)
{
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer's redzones and quarantine change the resident size the estimate is measured against.
    GTEST_SKIP() << "resident sizes differ under AddressSanitizer";
#endif
    // A small mesh, a larger one, and a parameterized one.
    struct Case {
        int steps;
        bool parameterize;
        const char* file;
    };
    for (Case c : {Case{1, false, "tore.off"}, Case{4, false, "tore.off"}, Case{2, true, "calotte.off"}}) {
        ASSERT_TRUE(loadModelFile(dataPath(c.file)));
        for (int i = 0; i < c.steps; ++i)
            ASSERT_EQ(subdivideModel(), outcomeOk);
        if (c.parameterize) {
            ASSERT_EQ(parameterizeOutcome(), outcomeOk);
        }
        const long long need = subdivisionMemoryNeed(currentModel);
        const long long growth = residentPeakGrowth([] { ASSERT_EQ(subdivideModel(), outcomeOk); });
        if (growth < 0)
            GTEST_SKIP() << "the resident peak cannot be read here";
        EXPECT_GT(need, growth) << c.file << " after " << c.steps << " steps";
        // Generous, not wildly so.
        EXPECT_LT(need, 8 * growth + (64LL << 20)) << c.file;
    }
}

TEST_F(ProgressMemoryTest, StepWithoutRoomIsRefusedAndTheModelStays)
{
    for (bool parameterized : {false, true}) {
        setJitteredGrid(8, 0.3, 0.2, 11);
        buildTopology(currentModel);
        if (parameterized) {
            ASSERT_EQ(parameterize(currentModel), outcomeOk);
        }
        const Mesh before = currentModel;
        const long long need = subdivisionMemoryNeed(currentModel);
        static long long given;
        given = need - 1;
        editMemoryAvailable = [] { return given; };
        EXPECT_EQ(subdivideModel(), outcomeSubdivisionMemory);
        expectSameMesh(before, currentModel);
        EXPECT_EQ(currentModel.revision, before.revision);

        // The menu command says why, in an error box.
        scriptBoxes.clear();
        subdivideLoop();
        ASSERT_EQ(scriptBoxes.size(), 1u);
        EXPECT_NE(scriptBoxes[0].text.find(outcomeText(outcomeSubdivisionMemory)), std::string::npos) << scriptBoxes[0].text;
        expectSameMesh(before, currentModel);

        // Just enough room, or a system that tells nothing, lets the step go.
        given = need;
        EXPECT_EQ(subdivideModel(), outcomeOk);
        EXPECT_EQ(currentModel.faceCount, 4 * before.faceCount);
        given = -1;
        EXPECT_EQ(subdivideModel(), outcomeOk);
    }
}
