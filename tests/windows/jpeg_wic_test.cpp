// The Windows decoder gives the Linux decoder's outcomes: damaged data and
// other kinds of files are refused, the image kept; sound files decode or are
// refused for their size or components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "texture/texture.h"

namespace {

std::string dataFile(const char* name) { return std::string(TEST_DATA_DIR "/texture/") + name; }

TEST(JpegWicTest, DamagedDataAreRefusedAndTheImageKept)
{
    std::vector<unsigned char> image(textureBytes, 7);
    for (const char* name : {"not_a_jpeg.jpg", "truncated_256.jpg", "truncated_header.jpg"}) {
        EXPECT_EQ(decodeJpegTexture(dataFile(name), image.data()), outcomeTextureCorrupt) << name;
        EXPECT_EQ(image, std::vector<unsigned char>(textureBytes, 7)) << name;
    }
}

TEST(JpegWicTest, SoundFilesDecodeOrAreRefused)
{
    std::vector<unsigned char> image(textureBytes);
    EXPECT_EQ(decodeJpegTexture(dataFile("baseline_256.jpg"), image.data()), outcomeOk);
    EXPECT_EQ(decodeJpegTexture(dataFile("progressive_256.jpg"), image.data()), outcomeOk);
    EXPECT_EQ(decodeJpegTexture(dataFile("gray_256.jpg"), image.data()), outcomeTextureNotRgb);
    EXPECT_EQ(decodeJpegTexture(dataFile("size_512x512.jpg"), image.data()), outcomeTextureSize);
    EXPECT_EQ(decodeJpegTexture(dataFile("absent.jpg"), image.data()), outcomeTextureUnopened);
}

} // namespace
