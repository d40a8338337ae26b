// The texture images and their upload: black for faceMode 0, the uniform
// colour for faceMode 1, the decoded JPEG image for faceMode 2.
#include "texture/texture.h"

#include <GL/gl.h>

#include <cstring>

#include "render/view_state.h"

unsigned int textureIds[3];
unsigned char colorImage[textureBytes];
unsigned char textureImage[textureBytes];
std::string texturePath;
bool textureLoaded = false;

namespace {
// The image of texture [0]; it never changes.
const unsigned char blackImage[textureBytes] = {};
} // namespace

void setTextureParams()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Repeat wrapping lets textureTiling show several copies of the image.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void uploadTextureImage(unsigned int id, const unsigned char* image)
{
    glBindTexture(GL_TEXTURE_2D, id);
    setTextureParams();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureSize, textureSize, 0, GL_RGB, GL_UNSIGNED_BYTE, image);
}

void uploadBlackTexture() { uploadTextureImage(textureIds[0], blackImage); }

void updateColorTexture()
{
    // uniformColor is 0x00BBGGRR.
    const unsigned char blue = static_cast<unsigned char>(uniformColor >> 16);
    const unsigned char green = static_cast<unsigned char>((uniformColor & 0xFFFF) / 256);
    const unsigned char red = static_cast<unsigned char>(uniformColor & 0xFF);
    for (int i = 0; i < textureBytes; i += 3) {
        colorImage[i] = red;
        colorImage[i + 1] = green;
        colorImage[i + 2] = blue;
    }
    uploadTextureImage(textureIds[1], colorImage);
}

void initTextureState()
{
    std::memset(colorImage, 0, sizeof colorImage);
    std::memset(textureImage, 0, sizeof textureImage);
    texturePath.clear();
    textureLoaded = false;
}
