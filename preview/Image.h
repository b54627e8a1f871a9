#pragma once
// A decoded picture: 32-bit BGRA pixels, rows top to bottom. Portable code
// below the window layer; knows nothing of archives nor of windows.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace preview {

// Decoders refuse anything larger: a hostile header must not make them
// allocate without bound (64 MiB of pixels at most).
constexpr int kMaxImageSide = 16384;
constexpr uint64_t kMaxImagePixels = uint64_t(4096) * 4096;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;  // width * height * 4 bytes

    uint32_t Pixel(int x, int y) const  // 0xAARRGGBB
    {
        const uint8_t* p = &bgra[(size_t(y) * size_t(width) + size_t(x)) * 4];
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
};

// Whether width x height is within the caps; sizes out->bgra when it is.
inline bool AllocateImage(Image& out, int64_t width, int64_t height)
{
    if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    if (uint64_t(width) * uint64_t(height) > kMaxImagePixels) return false;
    out.width = int(width);
    out.height = int(height);
    out.bgra.assign(size_t(width) * size_t(height) * 4, 0);
    return true;
}

// TGA: uncompressed and run-length; colour-mapped (8-bit index, 15/16/24/32-bit
// map), true colour 15/16/24/32-bit, grey 8-bit; either origin. False for
// anything else or anything damaged; out is then empty.
bool DecodeTga(const uint8_t* data, size_t size, Image& out);

// BMP: uncompressed 1/4/8/16/24/32-bit (16 and 32 also with bit masks),
// Windows and OS/2 headers, bottom-up or top-down.
bool DecodeBmp(const uint8_t* data, size_t size, Image& out);

}  // namespace preview
