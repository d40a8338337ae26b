// Encoding a snapshot's pixels as an image file's bytes.
#pragma once

#include <vector>

// Encodes width x height RGB pixels, rows bottom first as GL reads them, as a
// baseline JPEG of quality 95 into bytes. False when the encoder failed.
bool encodeJpeg(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes);
