// The texture images: black, the uniform colour, the decoded JPEG image.
#include "texture/texture.h"

#include <cstring>

unsigned char colorImage[textureBytes];
unsigned char textureImage[textureBytes];
const unsigned char blackImage[textureBytes] = {};
std::string texturePath;
bool textureLoaded = false;

void fillColorImage(unsigned int color)
{
    // color is 0x00BBGGRR.
    const unsigned char blue = static_cast<unsigned char>(color >> 16);
    const unsigned char green = static_cast<unsigned char>((color & 0xFFFF) / 256);
    const unsigned char red = static_cast<unsigned char>(color & 0xFF);
    for (int i = 0; i < textureBytes; i += 3) {
        colorImage[i] = red;
        colorImage[i + 1] = green;
        colorImage[i + 2] = blue;
    }
}

void initTextureState()
{
    std::memset(colorImage, 0, sizeof colorImage);
    std::memset(textureImage, 0, sizeof textureImage);
    texturePath.clear();
    textureLoaded = false;
}
