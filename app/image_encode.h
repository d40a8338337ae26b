// Encoding a snapshot's pixels as the bytes of an image file.
#pragma once

#include <vector>

// Encode width x height RGB pixels, rows bottom first as GL reads them, as a
// PNG or as a baseline JPEG of quality 95 into bytes. False when the encoder
// failed (memory).
bool encodePng(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes);
bool encodeJpeg(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes);
