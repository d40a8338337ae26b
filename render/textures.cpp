// Upload of the texture images into the current GL context.
#include "render/textures.h"

#include <GL/gl.h>

#include "render/view_state.h"
#include "texture/texture.h"

unsigned int textureIds[3];

void setTextureParams()
{
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    // Repeat wrapping lets textureTiling show several copies of the image.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

namespace {
unsigned long long uploads = 0;
} // namespace

TextureImages textureImages;

unsigned long long textureRevision() { return uploads; }

void uploadTextureImage(unsigned int id, const unsigned char* image)
{
    ++uploads;
    glBindTexture(GL_TEXTURE_2D, id);
    setTextureParams();
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, textureSize, textureSize, 0, GL_RGB, GL_UNSIGNED_BYTE, image);
}

void uploadBlackTexture() { uploadTextureImage(textureIds[0], blackImage); }

void updateColorTexture()
{
    fillColorImage(textureImages, uniformColor);
    uploadTextureImage(textureIds[1], textureImages.colorImage);
}

void uploadImageTexture() { uploadTextureImage(textureIds[2], textureImages.textureImage); }
