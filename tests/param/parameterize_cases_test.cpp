// Parameterization on small meshes: the loop on the circle, the one-unknown
// case, the closed, disconnected and degenerate models, two holes.
#include "app/model_commands.h"
#include "app/session.h"
#include "model/topology.h"
#include "tests/support/mesh_builder.h"
#include "param/parameter_solve.h"
#include "param/parameterize.h"
#include "tests/param/assembly_oracle.h"
#include "tests/param/param_meshes.h"
#include "tests/param/param_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const std::string noOpening = "Le modèle n'a pas d'ouverture.\n\nLa paramétrisation est impossible.\n\n"
                              "Les affichages de la frontière, du plan (u,v)\n et du modèle texturé avec une image\n"
                              " ne sont pas possibles.";
const std::string disjoint = "Paramétrisation impossible : \n\nle modèle a plusieurs parties disjointes.";
const std::string degenerate = "Paramétrisation impossible : \n\nle modèle a un triangle dégénéré\n"
                               "(un côté de longueur nulle ou trois sommets alignés).";

class ParameterizeCases : public ::testing::Test {
protected:
    void SetUp() override { resetAll(); }
    void TearDown() override { currentModel = Mesh(); }
};

double loopStep() { return (2 * 3.14159265358979) / currentModel.boundaryLoopLength; }

// Every vertex on the loop: each at its walk angle, the first one (edgeB of
// edge 0) at angle step and the last (edgeA of edge 0) at L × step.
TEST_F(ParameterizeCases, SingleTriangleLiesOnTheCircle)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    EXPECT_TRUE(scriptBoxes.empty());
    double step = loopStep();
    EXPECT_EQ(currentModel.edgeB[0], 1);
    EXPECT_EQ(currentModel.vertexU[1], std::cos(step));
    EXPECT_EQ(currentModel.vertexV[1], std::sin(step));
    EXPECT_EQ(currentModel.vertexU[2], std::cos(2 * step));
    EXPECT_EQ(currentModel.vertexV[2], std::sin(2 * step));
    EXPECT_EQ(currentModel.vertexU[0], std::cos(3 * step));
    EXPECT_EQ(currentModel.vertexV[0], std::sin(3 * step));
    EXPECT_NEAR(currentModel.vertexU[0], 1.0, 1e-15);
}

// On a larger loop too the walk starts at angle step, goes counter-clockwise
// in walking order and ends at L × step.
TEST_F(ParameterizeCases, WalkStartsAtAngleStep)
{
    setJitteredGrid(4, 0.2, 0.0, 3);
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    const int L = currentModel.boundaryLoopLength;
    ASSERT_EQ(L, 16);
    double step = loopStep();
    int c = currentModel.edgeB[0];
    EXPECT_EQ(currentModel.vertexU[c], std::cos(step));
    EXPECT_EQ(currentModel.vertexV[c], std::sin(step));
    for (int h = 1; h < L; ++h) {
        c = currentModel.edgeA[h] == c ? currentModel.edgeB[h] : currentModel.edgeA[h];
        EXPECT_EQ(currentModel.vertexU[c], std::cos((h + 1) * step)) << h;
        EXPECT_EQ(currentModel.vertexV[c], std::sin((h + 1) * step)) << h;
    }
    EXPECT_EQ(c, currentModel.edgeA[0]);
}

// One vertex off the loop: no solver runs; it is the weighted mean of its
// neighbours, rhs over the diagonal.
TEST_F(ParameterizeCases, OneUnknownIsTheWeightedMean)
{
    setFanMesh(7);
    currentModel.vertexX[3] += 0.2; // not symmetric, so the mean is not the centre
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    double diagonal = 0.0, sumU = 0.0, sumV = 0.0;
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        double wA, wB;
        meanValueWeights(e, wA, wB);
        if (currentModel.edgeA[e] == 0) {
            diagonal += wA;
            sumU += wA * currentModel.vertexU[currentModel.edgeB[e]];
            sumV += wA * currentModel.vertexV[currentModel.edgeB[e]];
        }
    }
    EXPECT_EQ(currentModel.vertexU[0], sumU / diagonal);
    EXPECT_EQ(currentModel.vertexV[0], sumV / diagonal);
    EXPECT_GT(std::hypot(currentModel.vertexU[0], currentModel.vertexV[0]), 1e-3);
    EXPECT_LT(std::hypot(currentModel.vertexU[0], currentModel.vertexV[0]), 1.0);
}

TEST_F(ParameterizeCases, ClosedModelIsToldOnce)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}, {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}});
    parameterizeModel();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, noOpening);
    EXPECT_EQ(scriptBoxes[0].caption, "Vormelin 0.35");
    EXPECT_TRUE(interaction.closedWarned);
    EXPECT_FALSE(currentModel.uvComputed);
    parameterizeModel();
    EXPECT_EQ(scriptBoxes.size(), 1u);
    EXPECT_TRUE(interaction.closedWarned);
    EXPECT_FALSE(currentModel.uvComputed);
}

// A square with an opening beside a closed tetrahedron: refused at each request.
TEST_F(ParameterizeCases, DisconnectedModelIsToldEachTime)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 0.5}, {3, 0, 0}, {3, 1, 0}, {3, 0, 1}, {4, 0, 0}},
            {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}, {5, 6, 7}, {5, 8, 6}, {5, 7, 8}, {6, 8, 7}});
    parameterizeModel();
    parameterizeModel();
    ASSERT_EQ(scriptBoxes.size(), 2u);
    EXPECT_EQ(scriptBoxes[0].text, disjoint);
    EXPECT_EQ(scriptBoxes[1].text, disjoint);
    EXPECT_FALSE(currentModel.uvComputed);
    EXPECT_FALSE(interaction.closedWarned);
}

// A zero-length side (two corners at one point) and three corners on one
// line: refused with the reason, never NaN coordinates in use.
TEST_F(ParameterizeCases, DegenerateTrianglesAreRefused)
{
    Points square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 0}, {0.5, 0.5, 0}};
    setMesh(square, {{0, 1, 4}, {1, 2, 4}, {2, 3, 5}, {3, 0, 5}, {4, 2, 5}, {4, 5, 0}});
    parameterizeModel();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, degenerate);
    EXPECT_FALSE(currentModel.uvComputed);

    resetAll();
    // Vertex 4 on the segment 0-2: triangle (0, 4, 2) is flat.
    setMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 0}, {0.75, 0.25, 0}},
            {{0, 1, 5}, {1, 2, 5}, {5, 2, 4}, {0, 5, 4}, {0, 4, 2}, {0, 2, 3}});
    parameterizeModel();
    ASSERT_EQ(scriptBoxes.size(), 1u);
    EXPECT_EQ(scriptBoxes[0].text, degenerate);
    EXPECT_FALSE(currentModel.uvComputed);
}

// Two holes: only the longer loop lies on the circle; the vertices of the
// shorter one are unknowns, inside the disc, and satisfy their equations.
TEST_F(ParameterizeCases, TwoHolesSolveTheShorterAsUnknowns)
{
    setJitteredGrid(5, 0.0, 0.0, 1, {12});
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    ASSERT_EQ(currentModel.boundaryLoopLength, 20);
    ASSERT_EQ(currentModel.boundaryEdgeCount, 24);
    std::vector<bool> onLoop(currentModel.vertexCount, false);
    for (int h = 0; h < currentModel.boundaryLoopLength; ++h)
        onLoop[currentModel.edgeA[h]] = onLoop[currentModel.edgeB[h]] = true;
    for (int v = 0; v < currentModel.vertexCount; ++v) {
        double r = std::hypot(currentModel.vertexU[v], currentModel.vertexV[v]);
        if (onLoop[v])
            EXPECT_NEAR(r, 1.0, 1e-14);
        else
            EXPECT_LT(r, 1.0 - 1e-3);
    }
    // Each vertex of the inner hole: sum over its edges of w (x_i - x_j) = 0.
    for (int h = currentModel.boundaryLoopLength; h < currentModel.boundaryEdgeCount; ++h) {
        int i = currentModel.edgeA[h];
        double sum = 0.0;
        for (int e = 0; e < currentModel.edgeCount; ++e) {
            double wA, wB;
            meanValueWeights(e, wA, wB);
            if (currentModel.edgeA[e] == i)
                sum += wA * (currentModel.vertexU[i] - currentModel.vertexU[currentModel.edgeB[e]]);
            else if (currentModel.edgeB[e] == i)
                sum += wB * (currentModel.vertexU[i] - currentModel.vertexU[currentModel.edgeA[e]]);
        }
        EXPECT_NEAR(sum, 0.0, 1e-12);
    }
}

// A request after success changes nothing, even when the view scale changed.
TEST_F(ParameterizeCases, ParameterizedModelIsLeftAlone)
{
    setJitteredGrid(3, 0.2, 0.1, 5);
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    std::vector<double> u = currentModel.vertexU, v = currentModel.vertexV;
    currentView.modelScale = 3.0;
    currentModel.vertexX[5] += 0.1;
    parameterize(currentModel);
    EXPECT_EQ(currentModel.vertexU, u);
    EXPECT_EQ(currentModel.vertexV, v);
    EXPECT_TRUE(scriptBoxes.empty());
}

// A loop that passes twice through one vertex (two squares touching at
// corner 2, arranged by hand as one walk of 8 edges over 7 vertices): that
// vertex keeps its first place, and the centre of the first square, the one
// vertex off the loop, is solved although the loop is as long as the vertex
// count.
TEST_F(ParameterizeCases, LoopThroughAVertexTwice)
{
    setMesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0.5, 0.5, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}},
            {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}, {2, 5, 6}, {2, 6, 7}});
    buildTopology(currentModel);
    const int walk[9] = {0, 1, 2, 5, 6, 7, 2, 3, 0};
    for (int h = 0; h < 8; ++h) {
        int e = findEdge(currentModel, walk[h], walk[h + 1]);
        ASSERT_GE(e, h);
        swapEdges(currentModel, h, e);
    }
    currentModel.boundaryLoopLength = 8;
    ASSERT_EQ(currentModel.vertexCount, 8);
    parameterize(currentModel);
    ASSERT_TRUE(currentModel.uvComputed);
    double step = loopStep();
    // Vertex 2 is met at steps 2 and 6 and keeps angle 2 × step.
    EXPECT_EQ(currentModel.vertexU[2], std::cos(2 * step));
    EXPECT_EQ(currentModel.vertexV[2], std::sin(2 * step));
    EXPECT_EQ(currentModel.vertexU[3], std::cos(7 * step));
    // The centre is the weighted mean of its four neighbours.
    double diagonal = 0.0, sumU = 0.0;
    for (int e = 0; e < currentModel.edgeCount; ++e) {
        double wA, wB;
        meanValueWeights(e, wA, wB);
        if (currentModel.edgeB[e] == 4) {
            diagonal += wB;
            sumU += wB * currentModel.vertexU[currentModel.edgeA[e]];
        }
    }
    EXPECT_EQ(currentModel.vertexU[4], sumU / diagonal);
    EXPECT_NE(currentModel.vertexU[4], 0.0);
}

// Mean-value weights of the two triangles of a 4 × 3 rectangle, by hand. The
// normalisation halves every length (centre (2, 1.5, 0), radius 2). The half-
// angle tangents are 1 at the right angles, 1/3 at the corners of 36.87° and
// 1/2 at those of 53.13°.
TEST_F(ParameterizeCases, MeanValueWeightsOfATrianglePair)
{
    setMesh({{0, 0, 0}, {4, 0, 0}, {0, 3, 0}, {4, 3, 0}}, {{0, 1, 2}, {2, 1, 3}});
    buildTopology(currentModel);
    double wA, wB;
    meanValueWeights(findEdge(currentModel, 0, 1), wA, wB);
    EXPECT_NEAR(wA, 1.0 / 4.0, 1e-15); // tan 45° / (2 × 2)
    EXPECT_NEAR(wB, 1.0 / 12.0, 1e-15); // (1/3) / (2 × 2)
    meanValueWeights(findEdge(currentModel, 0, 2), wA, wB);
    EXPECT_NEAR(wA, 1.0 / 3.0, 1e-15); // 1 / (2 × 1.5)
    EXPECT_NEAR(wB, 1.0 / 6.0, 1e-15); // (1/2) / (2 × 1.5)
    meanValueWeights(findEdge(currentModel, 1, 2), wA, wB);
    EXPECT_NEAR(wA, 1.0 / 6.0, 1e-15); // (1/3 + 1/2) / (2 × 2.5)
    EXPECT_NEAR(wB, 1.0 / 6.0, 1e-15); // (1/2 + 1/3) / (2 × 2.5)
}

TEST_F(ParameterizeCases, CornerAngleAndDistance)
{
    double O[3] = {0, 0, 0}, X[3] = {3, 0, 0}, Y[3] = {0, 4, 0}, far[3] = {6, 0, 0};
    EXPECT_EQ(pointDistance(X, Y), 5.0);
    EXPECT_NEAR(cornerAngle(O, X, Y), M_PI / 2, 1e-15);
    EXPECT_NEAR(cornerAngle(X, Y, O), std::atan2(4.0, 3.0), 1e-15);
    // Three points on a line: the quotient may round past ±1; the angle stays a number.
    double a[3] = {0.1, 0.1, 0.1}, b[3] = {0.3, 0.3, 0.3}, c[3] = {0.7, 0.7, 0.7};
    EXPECT_FALSE(std::isnan(cornerAngle(a, b, c)));
    EXPECT_FALSE(std::isnan(cornerAngle(b, a, c)));
    EXPECT_NEAR(cornerAngle(O, X, far), 0.0, 1e-7);
    EXPECT_NEAR(cornerAngle(X, O, far), M_PI, 1e-7);
}

} // namespace
