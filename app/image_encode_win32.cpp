// PNG and JPEG encoding through the Windows Imaging Component (the Windows build).
#include "app/image_encode.h"

#include <windows.h>
#include <objidl.h>
#include <wincodec.h>

#include <cstddef>

namespace {

// Releases a COM interface when it goes out of scope.
struct Releaser {
    IUnknown* p = nullptr;
    ~Releaser()
    {
        if (p)
            p->Release();
    }
};

// Encodes the pixels in the given container format into bytes.
bool encodeAs(const GUID& container, const unsigned char* pixels, int width, int height,
              std::vector<unsigned char>& bytes)
{
    const UINT w = static_cast<UINT>(width), h = static_cast<UINT>(height);
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 3;
    // Top row first, blue-green-red as the encoder takes it.
    std::vector<unsigned char> bgr(rowBytes * h);
    for (UINT y = 0; y < h; ++y) {
        const unsigned char* row = pixels + (h - 1 - y) * rowBytes;
        unsigned char* out = bgr.data() + y * rowBytes;
        for (UINT x = 0; x < w; ++x) {
            out[3 * x] = row[3 * x + 2];
            out[3 * x + 1] = row[3 * x + 1];
            out[3 * x + 2] = row[3 * x];
        }
    }
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool ok = false;
    {
        IWICImagingFactory* factory = nullptr;
        IStream* stream = nullptr;
        IWICBitmapEncoder* encoder = nullptr;
        IWICBitmapFrameEncode* frame = nullptr;
        Releaser f, s, e, fr;
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        ok = SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory)));
        f.p = factory;
        ok = ok && SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream));
        s.p = stream;
        ok = ok && SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder));
        e.p = encoder;
        ok = ok && SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache));
        ok = ok && SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr));
        fr.p = frame;
        ok = ok && SUCCEEDED(frame->Initialize(nullptr));
        ok = ok && SUCCEEDED(frame->SetSize(w, h));
        ok = ok && SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat24bppBGR;
        ok = ok && SUCCEEDED(frame->WritePixels(h, static_cast<UINT>(rowBytes), static_cast<UINT>(bgr.size()), bgr.data()));
        ok = ok && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
        STATSTG stat;
        ok = ok && SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME));
        if (ok) {
            bytes.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
            const LARGE_INTEGER start = {};
            ULONG read = 0;
            ok = SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) &&
                 SUCCEEDED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read)) && read == bytes.size();
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return ok;
}

} // namespace

bool encodePng(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes)
{
    return encodeAs(GUID_ContainerFormatPng, pixels, width, height, bytes);
}

bool encodeJpeg(const unsigned char* pixels, int width, int height, std::vector<unsigned char>& bytes)
{
    return encodeAs(GUID_ContainerFormatJpeg, pixels, width, height, bytes);
}
