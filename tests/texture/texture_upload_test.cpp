// The three textures as the GL context holds them after upload: their texels
// read back, their four parameters, and the load command's dialog and flags.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "tests/support/egl_context.h"
#include "render/textures.h"
#include "texture/texture.h"

namespace {

std::string dataFile(const char* name) { return std::string(TEST_DATA_DIR "/texture/") + name; }

class TextureUploadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
        ASSERT_TRUE(makeOffscreenContext(64, 64));
        // As the GL view's set-up does once at start.
        if (textureIds[0] == 0)
            glGenTextures(3, textureIds);
    }
};

// Level 0 of the texture named id as 256 x 256 RGB bytes, row t = 0 first.
std::vector<unsigned char> readTexture(unsigned int id)
{
    glBindTexture(GL_TEXTURE_2D, id);
    GLint width = 0, height = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(width, 256);
    EXPECT_EQ(height, 256);
    EXPECT_EQ(format, GL_RGB);
    std::vector<unsigned char> texels(textureBytes, 0x55);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

void expectParameters(unsigned int id)
{
    glBindTexture(GL_TEXTURE_2D, id);
    const GLenum names[4] = {GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T};
    const GLint values[4] = {GL_LINEAR, GL_LINEAR, GL_REPEAT, GL_REPEAT};
    for (int i = 0; i < 4; ++i) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, names[i], &value);
        EXPECT_EQ(value, values[i]) << "parameter " << i;
    }
}

GLint boundTexture()
{
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return bound;
}

// Count of texels different from (r, g, b).
int texelsOtherThan(const std::vector<unsigned char>& texels, int r, int g, int b)
{
    int other = 0;
    for (size_t i = 0; i < texels.size(); i += 3)
        other += texels[i] != r || texels[i + 1] != g || texels[i + 2] != b;
    return other;
}

TEST_F(TextureUploadTest, BlackTextureIsAllZeroWithLinearRepeat)
{
    uploadBlackTexture();
    EXPECT_EQ(boundTexture(), static_cast<GLint>(textureIds[0]));
    EXPECT_EQ(texelsOtherThan(readTexture(textureIds[0]), 0, 0, 0), 0);
    expectParameters(textureIds[0]);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureUploadTest, ColourTextureSplitsTheUniformColour)
{
    // The start colour.
    updateColorTexture();
    EXPECT_EQ(boundTexture(), static_cast<GLint>(textureIds[1]));
    EXPECT_EQ(texelsOtherThan(readTexture(textureIds[1]), 255, 128, 64), 0);
    expectParameters(textureIds[1]);

    // 0x00BBGGRR: red in the low byte; a new colour replaces the old texels.
    uniformColor = 0x00123456;
    updateColorTexture();
    EXPECT_EQ(texelsOtherThan(readTexture(textureIds[1]), 0x56, 0x34, 0x12), 0);
    const std::vector<unsigned char> image(textureImages.colorImage, textureImages.colorImage + textureBytes);
    EXPECT_EQ(texelsOtherThan(image, 0x56, 0x34, 0x12), 0);

    // Bits above the blue byte do not leak into the colour.
    uniformColor = 0xFF00FF01;
    updateColorTexture();
    EXPECT_EQ(texelsOtherThan(readTexture(textureIds[1]), 0x01, 0xFF, 0x00), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureUploadTest, LoadShowsTheDialogAndUploadsTheImage)
{
    uploadBlackTexture();
    updateColorTexture();
    const std::string path = dataFile("baseline_256.jpg");
    scriptFileAnswers.push_back(path);
    loadTexture();

    ASSERT_EQ(scriptFileDialogTitles.size(), 1u);
    EXPECT_EQ(scriptFileDialogTitles[0], "Choisissez le fichier de nouvelle texture à appliquer.");
    ASSERT_EQ(scriptLastFilters.size(), 1u);
    EXPECT_EQ(scriptLastFilters[0].label, "Jpg Files (*.jpg)");
    EXPECT_EQ(scriptLastFilters[0].pattern, "*.jpg");
    EXPECT_TRUE(scriptBoxes.empty());

    EXPECT_TRUE(textureImages.textureLoaded);
    EXPECT_EQ(textureImages.texturePath, path);
    EXPECT_EQ(currentView.faceMode, 1);
    EXPECT_EQ(boundTexture(), static_cast<GLint>(textureIds[2]));
    const std::vector<unsigned char> texels = readTexture(textureIds[2]);
    EXPECT_EQ(std::memcmp(texels.data(), textureImages.textureImage, textureBytes), 0);
    // Texture row t = 0 is the top row of the file: red on the left, green on the right.
    EXPECT_GT(texels[(10 * 256 + 10) * 3], 240);
    EXPECT_LT(texels[(10 * 256 + 10) * 3 + 1], 16);
    EXPECT_GT(texels[(10 * 256 + 245) * 3 + 1], 240);
    EXPECT_LT(texels[(10 * 256 + 245) * 3], 16);
    expectParameters(textureIds[2]);
    // The other two textures are untouched.
    EXPECT_EQ(texelsOtherThan(readTexture(textureIds[0]), 0, 0, 0), 0);
    EXPECT_EQ(texelsOtherThan(readTexture(textureIds[1]), 255, 128, 64), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureUploadTest, CancelledDialogKeepsTheEarlierTexture)
{
    const std::string first = dataFile("baseline_256.jpg");
    scriptFileAnswers.push_back(first);
    loadTexture();
    const std::vector<unsigned char> loaded = readTexture(textureIds[2]);

    // Cancelled: no file is read, nothing changes.
    std::memset(textureImages.textureImage, 0, sizeof textureImages.textureImage);
    loadTexture();
    EXPECT_EQ(scriptFileDialogTitles.size(), 2u);
    EXPECT_TRUE(textureImages.textureLoaded);
    EXPECT_EQ(textureImages.texturePath, first);
    EXPECT_EQ(texelsOtherThan(std::vector<unsigned char>(textureImages.textureImage, textureImages.textureImage + textureBytes), 0, 0, 0), 0);
    EXPECT_EQ(readTexture(textureIds[2]), loaded);

    // A later load replaces the image.
    scriptFileAnswers.push_back(SOURCE_DIR "/data/texture.jpg");
    loadTexture();
    EXPECT_EQ(textureImages.texturePath, SOURCE_DIR "/data/texture.jpg");
    const std::vector<unsigned char> sample = readTexture(textureIds[2]);
    EXPECT_NE(sample, loaded);
    EXPECT_EQ(std::memcmp(sample.data(), textureImages.textureImage, textureBytes), 0);
}

TEST_F(TextureUploadTest, CancelledFirstDialogLoadsNothing)
{
    loadTexture();
    EXPECT_FALSE(textureImages.textureLoaded);
    EXPECT_TRUE(textureImages.texturePath.empty());
    EXPECT_EQ(scriptFileDialogTitles.size(), 1u);
}

} // namespace
