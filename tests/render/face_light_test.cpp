// The face light eight vertices or faces at a time gives the light of the
// one-by-one computation bit for bit, over any range, including faces with no
// direction, faces turned away, corners in the dark and saturated colours.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "render/face_light.h"

TEST(FaceLight, EightAtATimeGivesTheOneByOneLight)
{
    std::mt19937 random(12);
    std::uniform_real_distribution<float> any(-1.0f, 1.0f);
    const int vertices = 500, faces = 203;
    std::vector<float> points(3 * vertices);
    for (float& p : points)
        p = 2.0f * any(random);
    std::vector<double> normals(3 * faces);
    std::vector<int> corners(3 * faces);
    for (int f = 0; f < faces; ++f) {
        double n[3] = {any(random), any(random), any(random)};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (int k = 0; k < 3; ++k) {
            normals[3 * f + k] = f % 17 == 0 ? 0.0 : n[k] / length;
            corners[3 * f + k] = static_cast<int>(random() % vertices);
        }
    }
    for (const bool bright : {false, true}) {
        SCOPED_TRACE(bright ? "saturated" : "plain");
        FrameLight light{};
        // A rotation about z with a translation, as the modelview of a turned camera.
        const float c = 0.8f, s = 0.6f;
        const float model[12] = {c, -s, 0.0f, 0.1f, s, c, 0.0f, -0.2f, 0.0f, 0.0f, 1.0f, -3.0f};
        const float normal[9] = {c, -s, 0.0f, s, c, 0.0f, 0.0f, 0.0f, 1.0f};
        std::copy(model, model + 12, light.model);
        std::copy(normal, normal + 9, light.normal);
        light.w[0] = 0.3;
        light.w[1] = -0.2;
        light.w[2] = 1.0;
        const float position[4] = {10.0f, 10.0f, 10.0f, 1.0f};
        std::copy(position, position + 4, light.position);
        light.attenuation[0] = 1.0f;
        light.attenuation[1] = 0.05f;
        for (int j = 0; j < 3; ++j) {
            light.base[j] = bright ? 0.9f : 0.16f;
            light.ambient[j] = 0.16f;
            light.diffuse[j] = bright ? 1.5f : 0.4f;
            light.specular[j] = 0.81f;
            light.texel[j] = 0.25f + 0.3f * static_cast<float>(j);
        }
        light.texel[3] = 1.0f;
        light.alpha = 0.5f;
        light.shininess = 128.0f;

        std::vector<float> vertexLight(8 * vertices), byVertex(8 * vertices);
        for (const auto& [first, last] : {std::pair{0, vertices}, {3, 300}, {vertices - 5, vertices}}) {
            lightVertices(light, points.data(), vertexLight.data(), first, last);
            lightVerticesOneByOne(light, points.data(), byVertex.data(), first, last);
        }
        ASSERT_EQ(0, std::memcmp(vertexLight.data(), byVertex.data(), vertexLight.size() * sizeof(float)));
        std::vector<std::uint16_t> wide(12 * faces, 7), byCorner(12 * faces, 7);
        // Ranges starting and ending anywhere, the longest 200 faces.
        for (const auto& [first, last] : {std::pair{0, 203}, {3, 203}, {5, 12}, {0, 7}}) {
            lightCorners(light, normals.data(), corners.data(), vertexLight.data(), wide.data(), first, last);
            lightCornersOneByOne(light, normals.data(), corners.data(), vertexLight.data(), byCorner.data(), first,
                                 last);
            ASSERT_EQ(wide, byCorner) << "faces " << first << " .. " << last;
        }
    }
}
