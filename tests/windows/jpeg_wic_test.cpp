// The Windows decoder ends the process on damaged JPEG data, as the Linux
// one does, with its own message on the standard error stream.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "texture/texture.h"

namespace {

std::string dataFile(const char* name) { return std::string(TEST_DATA_DIR "/texture/") + name; }

TEST(JpegWicDeathTest, DamagedDataEndTheProcess)
{
    for (const char* name : {"not_a_jpeg.jpg", "truncated_256.jpg", "truncated_header.jpg"})
        EXPECT_EXIT(decodeJpegTexture(dataFile(name)), ::testing::ExitedWithCode(EXIT_FAILURE),
                    ::testing::HasSubstr("JPEG"))
            << name;
}

TEST(JpegWicTest, SoundFilesDecodeOrAreRefused)
{
    EXPECT_EQ(decodeJpegTexture(dataFile("baseline_256.jpg")), outcomeOk);
    EXPECT_EQ(decodeJpegTexture(dataFile("progressive_256.jpg")), outcomeOk);
    EXPECT_EQ(decodeJpegTexture(dataFile("gray_256.jpg")), outcomeTextureNotRgb);
    EXPECT_EQ(decodeJpegTexture(dataFile("size_512x512.jpg")), outcomeTextureSize);
    EXPECT_EQ(decodeJpegTexture(dataFile("absent.jpg")), outcomeTextureUnopened);
}

} // namespace
