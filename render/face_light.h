// The light of the face layer, computed on the CPU as GL's fixed lighting
// computes it at each corner of a lit polygon: one positional (or
// directional) light, the viewer at infinity along +z, the colour material
// giving the ambient and diffuse colour, the face normal taken through the
// inverse transpose of the modelview and made unit length.
#pragma once

#include <cstdint>

// The light and material as GL holds them for a frame, in eye coordinates.
struct FrameLight {
    float model[12];      // modelview rows 0 .. 2 (x y z and translation)
    float normal[9];      // inverse transpose of the modelview's 3 x 3 part, rows
    double w[3];          // the viewer direction in model coordinates (faces are turned toward it)
    float position[4];    // light 0 position
    float attenuation[3]; // constant, linear, quadratic
    float base[3];        // emission plus material ambient times the scene ambient
    float ambient[3], diffuse[3], specular[3]; // light times material, per term
    float shininess;
    float alpha;
    float texel[4];       // the colour of a one-colour texture the corners are multiplied by, else 1 1 1 1
    bool operator==(const FrameLight&) const = default;
};

// Per vertex first .. last-1 of `points` (x y z each): the direction to the
// light (x y z), the attenuation, the half vector with the viewer (x y z),
// 0; eight floats each in `vertexLight`.
// Eight vertices at a time with wide instructions when the processor has them.
void lightVertices(const FrameLight& light, const float* points, float* vertexLight, int first, int last);
// The same, one vertex after the other: what lightVertices gives on any processor.
void lightVerticesOneByOne(const FrameLight& light, const float* points, float* vertexLight, int first, int last);

// The RGBA colour (0 .. 65535) of the three corners of faces first .. last-1:
// face f has the unit normal normals[3f ..] (0 0 0 when it has no direction)
// and the corners whose vertices are corners[3f ..]; colours[12f ..] receives
// them. Eight faces at a time with wide instructions when the processor has them.
void lightCorners(const FrameLight& light, const double* normals, const int* corners, const float* vertexLight,
                  std::uint16_t* colours, int first, int last);

// The same, one corner after the other: what lightCorners gives on any processor.
void lightCornersOneByOne(const FrameLight& light, const double* normals, const int* corners,
                          const float* vertexLight, std::uint16_t* colours, int first, int last);
