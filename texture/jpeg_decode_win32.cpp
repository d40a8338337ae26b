// Decoding of a 256 x 256 RGB JPEG file into an image through the Windows
// Imaging Component (the Windows build). The outcomes are the Linux
// decoder's: a file that does not open, another size, not RGB, damaged data
// or another kind of file; the image is written only when the whole picture
// decoded.
#ifdef _WIN32
#include <windows.h>
#include <wincodec.h>

#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/file_system.h"
#include "base/utf16.h"
#include "texture/texture.h"

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T> struct Held {
    T* p = nullptr;
    ~Held()
    {
        if (p)
            p->Release();
    }
};

Outcome decodeWithFactory(IWICImagingFactory* factory, const std::string& path, unsigned char* image)
{
    Held<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(utf8ToWide(path).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder.p)))
        return outcomeTextureCorrupt;
    GUID container;
    if (FAILED(decoder.p->GetContainerFormat(&container)) || container != GUID_ContainerFormatJpeg)
        return outcomeTextureCorrupt;
    Held<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder.p->GetFrame(0, &frame.p)))
        return outcomeTextureCorrupt;
    UINT width = 0, height = 0;
    if (FAILED(frame.p->GetSize(&width, &height)))
        return outcomeTextureCorrupt;
    if (width != textureSize || height != textureSize)
        return outcomeTextureSize;
    // Grayscale files decode to one component, CMYK files to four.
    WICPixelFormatGUID format;
    if (FAILED(frame.p->GetPixelFormat(&format)))
        return outcomeTextureCorrupt;
    if (format != GUID_WICPixelFormat24bppBGR)
        return outcomeTextureNotRgb;
    static unsigned char bgr[textureBytes];
    if (FAILED(frame.p->CopyPixels(nullptr, textureSize * 3, textureBytes, bgr)))
        return outcomeTextureCorrupt;
    for (int i = 0; i < textureBytes; i += 3) {
        image[i] = bgr[i + 2];
        image[i + 1] = bgr[i + 1];
        image[i + 2] = bgr[i];
    }
    return outcomeOk;
}

} // namespace

Outcome decodeJpegTexture(const std::string& path, unsigned char* image)
{
    // Only a regular file that opens is read.
    long long size = 0;
    int fd = openRegularFileForReading(path, size);
    if (fd < 0)
        return outcomeTextureUnopened;
    _close(fd);

    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Outcome outcome = outcomeTextureUnopened;
    {
        Held<IWICImagingFactory> factory;
        if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory.p))))
            outcome = decodeWithFactory(factory.p, path, image);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return outcome;
}
#endif
