// The texture images: black for faces without colour, the uniform colour, and
// the image decoded from a 256 x 256 RGB JPEG file. Their upload into GL
// belongs to the view (render/textures.h).
#pragma once

#include <string>

#include "base/outcome.h"

// Side of every texture image in pixels.
inline constexpr int textureSize = 256;
// Bytes of one texture image: 256 rows of 256 RGB pixels, row 0 at the top.
inline constexpr int textureBytes = textureSize * textureSize * 3;

// The all-black image of texture [0]; it never changes.
extern const unsigned char blackImage[textureBytes];

// The images the view's textures are made from.
struct TextureImages {
    // RGB image filled with the uniform colour; source of texture [1].
    unsigned char colorImage[textureBytes] = {};
    // RGB image decoded from the chosen JPEG file; source of texture [2].
    unsigned char textureImage[textureBytes] = {};
    // Full path of the JPEG file last chosen; empty at start; offered by the next dialog.
    std::string texturePath;
    // Texture [2] holds an image; set by the first successful load, never cleared.
    bool textureLoaded = false;
};

// Fills colorImage with color (0x00BBGGRR).
void fillColorImage(TextureImages& images, unsigned int color);
// Decodes a 256 x 256 RGB JPEG file into image (textureBytes bytes, rows
// from the top). A file that does not open, has another size or is not RGB
// is refused with its outcome, and so is one whose data are damaged or not
// JPEG at all (outcomeTextureCorrupt); nothing is printed, and a refused file
// leaves image as it was.
Outcome decodeJpegTexture(const std::string& path, unsigned char* image);
// Puts the images back to program start (empty path, nothing loaded, images cleared).
void initTextureState(TextureImages& images);
