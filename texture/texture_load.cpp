// The command "Charger une texture": choose a JPEG file, decode it and upload
// it into the image texture.
#include "texture/texture.h"

#include <vector>

#include "platform/platform.h"

bool chooseTextureFile(std::string& path)
{
    static const std::vector<PlatformFileFilter> filters = {{"Jpg Files (*.jpg)", "*.jpg"}};
    return platformOpenFileDialog("Choisissez le fichier de nouvelle texture à appliquer.", filters, path);
}

void loadTexture()
{
    // A cancelled dialog reads no file and keeps the texture loaded earlier.
    if (!chooseTextureFile(texturePath) || texturePath.empty())
        return;
    decodeJpegTexture(texturePath);
    uploadTextureImage(textureIds[2], textureImage);
    textureLoaded = true;
}
