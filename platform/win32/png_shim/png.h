// The Windows build's PNG writing: the small part of the PNG library's
// "simplified" interface that the snapshot uses (an RGB image written into a
// memory block), done by the Windows Imaging Component. Only the Windows
// build puts this folder on the include path.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <wincodec.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

typedef std::uint32_t png_uint_32;
typedef std::size_t png_alloc_size_t;

#define PNG_IMAGE_VERSION 1
#define PNG_FORMAT_RGB 2
#define PNG_IMAGE_FLAG_FAST 4

struct png_image {
    void* opaque;
    png_uint_32 version;
    png_uint_32 width;
    png_uint_32 height;
    png_uint_32 format;
    png_uint_32 flags;
    png_uint_32 colormap_entries;
    png_uint_32 warning_or_error;
    char message[64];
};

// Room that any encoding of the image fits in: the raw rows with their filter
// bytes, the deflate blocks' own bytes, and the file's chunks.
#define PNG_IMAGE_PNG_SIZE_MAX(image)                                                                           \
    (static_cast<png_alloc_size_t>((image).height) * ((image).width * 3u + 1u) * 1001u / 1000u + 65536u)

// Encodes the RGB image (rows `row_stride` bytes apart; a negative stride
// means the buffer holds the bottom row first) as PNG into memory; size gets
// the bytes written. Returns 0 on failure (memory, no encoder, too small a block).
inline int png_image_write_to_memory(png_image* image, void* memory, png_alloc_size_t* size, int,
                                     const void* buffer, std::ptrdiff_t row_stride, const void*)
{
    struct Releaser {
        IUnknown* p = nullptr;
        ~Releaser()
        {
            if (p)
                p->Release();
        }
    };
    const UINT width = image->width, height = image->height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    const std::ptrdiff_t stride = row_stride < 0 ? -row_stride : row_stride;
    const unsigned char* pixels = static_cast<const unsigned char*>(buffer);
    // Top row first, blue-green-red as the encoder takes it.
    std::vector<unsigned char> bgr(rowBytes * height);
    for (UINT y = 0; y < height; ++y) {
        const unsigned char* row = row_stride < 0 ? pixels + (height - 1 - y) * stride : pixels + y * stride;
        unsigned char* out = bgr.data() + y * rowBytes;
        for (UINT x = 0; x < width; ++x) {
            out[3 * x] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x];
        }
    }

    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int done = 0;
    {
        IWICImagingFactory* factory = nullptr;
        IStream* stream = nullptr;
        IWICBitmapEncoder* encoder = nullptr;
        IWICBitmapFrameEncode* frame = nullptr;
        Releaser f, s, e, fr;
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        bool ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_PPV_ARGS(&factory)));
        f.p = factory;
        ok = ok && SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
        s.p = stream;
        ok = ok && SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder));
        e.p = encoder;
        ok = ok && SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache));
        ok = ok && SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr));
        fr.p = frame;
        ok = ok && SUCCEEDED(frame->Initialize(nullptr));
        ok = ok && SUCCEEDED(frame->SetSize(width, height));
        ok = ok && SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR;
        ok = ok && SUCCEEDED(frame->WritePixels(height, static_cast<UINT>(rowBytes), static_cast<UINT>(bgr.size()),
                                                 bgr.data()));
        ok = ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
        STATSTG stat;
        ok = ok && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart <= *size;
        if (ok) {
            const LARGE_INTEGER start = {};
            ULONG read = 0;
            ok = SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
                 SUCCEEDED(stream->Read(memory, static_cast<ULONG>(stat.cbSize.QuadPart), &read)) &&
                 read == stat.cbSize.QuadPart;
            if (ok)
                *size = static_cast<png_alloc_size_t>(read);
        }
        done = ok ? 1 : 0;
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return done;
}
