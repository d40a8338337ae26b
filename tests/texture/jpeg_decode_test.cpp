// Decoding of the texture JPEG files: the pixels of good files, the outcomes
// of unusable and damaged ones, and the load command's fatal box.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/model_commands.h"
#include "app/messages.h"
#include "app/session.h"
#include "tests/support/platform_script.h"
#include "render/view_state.h"
#include "render/textures.h"
#include "texture/texture.h"

namespace {


std::string dataFile(const char* name) { return std::string(TEST_DATA_DIR "/texture/") + name; }

class JpegDecodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        scriptReset();
    }
};

// Colour of the quadrant pattern of the test images: red top left, green top
// right, blue bottom left, white bottom right.
void expectedQuadrant(int x, int y, int rgb[3])
{
    const bool right = x >= 128, bottom = y >= 128;
    rgb[0] = right == bottom ? 255 : 0;
    rgb[1] = right ? 255 : 0;
    rgb[2] = bottom ? 255 : 0;
}

// Every pixel away from the quadrant borders (where compression blurs the
// colours) is within a small tolerance of the pattern: rows are in file order,
// row 0 at the top, and nothing of the previous image content is left.
void expectQuadrantImage(const char* name)
{
    SCOPED_TRACE(name);
    std::memset(textureImages.textureImage, 0x55, sizeof textureImages.textureImage);
    decodeJpegTexture(dataFile(name), textureImages.textureImage);
    int wrong = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            if (std::abs(x - 128) < 16 || std::abs(y - 128) < 16)
                continue;
            int rgb[3];
            expectedQuadrant(x, y, rgb);
            for (int c = 0; c < 3; ++c)
                if (std::abs(textureImages.textureImage[(y * 256 + x) * 3 + c] - rgb[c]) > 8)
                    ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_TRUE(scriptBoxes.empty());
}

TEST_F(JpegDecodeTest, ColourFilesDecodeUprightIntoTheImage)
{
    expectQuadrantImage("baseline_256.jpg");
    expectQuadrantImage("progressive_256.jpg");
    // Three components stored as RGB rather than YCbCr are colour images too.
    expectQuadrantImage("stored_rgb_256.jpg");
}

TEST_F(JpegDecodeTest, SampleTextureIsAUsableImage)
{
    decodeJpegTexture(SOURCE_DIR "/data/texture.jpg", textureImages.textureImage);
    EXPECT_TRUE(scriptBoxes.empty());
}

// In the death-test child: prints every box shown, then ends with the status asked for.
TEST_F(JpegDecodeTest, UnusableFilesAreRefusedWithTheirReason)
{
    EXPECT_EQ(decodeJpegTexture(dataFile("missing.jpg"), textureImages.textureImage), outcomeTextureUnopened);
    // A folder is no image file either.
    EXPECT_EQ(decodeJpegTexture(TEST_DATA_DIR "/texture", textureImages.textureImage), outcomeTextureUnopened);
    // The size is checked before the colour type.
    for (const char* name : {"size_255x256.jpg", "size_256x255.jpg", "size_512x512.jpg", "gray_255x256.jpg"})
        EXPECT_EQ(decodeJpegTexture(dataFile(name), textureImages.textureImage), outcomeTextureSize) << name;
    for (const char* name : {"gray_256.jpg", "cmyk_256.jpg", "ycck_256.jpg"})
        EXPECT_EQ(decodeJpegTexture(dataFile(name), textureImages.textureImage), outcomeTextureNotRgb) << name;
    EXPECT_TRUE(scriptBoxes.empty());
}

// Damaged data and files of another kind are refused with their outcome: no
// text of the library on the standard error stream, no box, and the image
// decoded earlier is kept whole.
TEST_F(JpegDecodeTest, CorruptDataIsRefusedQuietlyAndKeepsTheImage)
{
    ASSERT_EQ(decodeJpegTexture(dataFile("baseline_256.jpg"), textureImages.textureImage), outcomeOk);
    const std::vector<unsigned char> before(textureImages.textureImage, textureImages.textureImage + textureBytes);
    // Not JPEG at all (a model file named .jpg); cut short inside the picture
    // data, where the library would only warn and fill the rest with grey;
    // cut short inside the header.
    for (const char* name : {"not_a_jpeg.jpg", "truncated_256.jpg", "truncated_header.jpg"}) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(decodeJpegTexture(dataFile(name), textureImages.textureImage), outcomeTextureCorrupt) << name;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << name;
        EXPECT_TRUE(std::equal(before.begin(), before.end(), textureImages.textureImage)) << name;
    }
    EXPECT_TRUE(scriptBoxes.empty());
    // The decoder is whole afterwards: a good file decodes again.
    expectQuadrantImage("progressive_256.jpg");
}

// The load command refuses an unusable image with an error box; the texture
// loaded before, the path offered next aside, stays as it was.
TEST_F(JpegDecodeTest, AnUnusableImageIsRefusedAndTheTextureStays)
{
    scriptFileAnswers.push_back(SOURCE_DIR "/data/texture.jpg");
    loadTexture();
    ASSERT_TRUE(textureImages.textureLoaded);
    const std::vector<unsigned char> loaded(textureImages.textureImage, textureImages.textureImage + textureBytes);
    const std::pair<const char*, const char*> cases[] = {
        {"cmyk_256.jpg", "L'image doit être de type RGB"},
        {"missing.jpg", "Ouverture impossible de la texture"},
        {"truncated_256.jpg", "L'image de texture est illisible (fichier JPEG endommagé ou d'un autre type)"},
    };
    for (const auto& [name, text] : cases) {
        scriptBoxes.clear();
        scriptFileAnswers.push_back(dataFile(name));
        loadTexture();
        ASSERT_EQ(scriptBoxes.size(), 1u) << name;
        EXPECT_EQ(scriptBoxes[0].text, std::string("ERREUR  !!!\n\n") + text);
        EXPECT_TRUE(textureImages.textureLoaded);
        EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), textureImages.textureImage)) << name;
    }
}

} // namespace
