// The texture images: black, the uniform colour, the decoded JPEG image.
#include "texture/texture.h"

#include <cstring>

const unsigned char blackImage[textureBytes] = {};

void fillColorImage(TextureImages& images, unsigned int color)
{
    // color is 0x00BBGGRR.
    const unsigned char blue = static_cast<unsigned char>(color >> 16);
    const unsigned char green = static_cast<unsigned char>((color & 0xFFFF) / 256);
    const unsigned char red = static_cast<unsigned char>(color & 0xFF);
    for (int i = 0; i < textureBytes; i += 3) {
        images.colorImage[i] = red;
        images.colorImage[i + 1] = green;
        images.colorImage[i + 2] = blue;
    }
}

void initTextureState(TextureImages& images)
{
    std::memset(images.colorImage, 0, sizeof images.colorImage);
    std::memset(images.textureImage, 0, sizeof images.textureImage);
    images.texturePath.clear();
    images.textureLoaded = false;
}
