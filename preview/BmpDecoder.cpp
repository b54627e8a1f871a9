// BMP reader for the quick view: the uncompressed forms.

#include <bit>

#include "preview/Image.h"

namespace preview {

namespace {

uint32_t Le16(const uint8_t* p) { return uint32_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// The value of the bits under mask, scaled to 0..255.
uint8_t Channel(uint32_t v, uint32_t mask)
{
    if (mask == 0) return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t top = mask >> shift;
    const uint32_t bits = (v & mask) >> shift;
    return uint8_t((uint64_t(bits) * 255 + top / 2) / top);
}

}  // namespace

bool DecodeBmp(const uint8_t* d, size_t size, Image& out)
{
    out = Image();
    if (size < 26 || d[0] != 'B' || d[1] != 'M') return false;
    const uint32_t dataOffset = Le32(d + 10);
    const uint32_t headerSize = Le32(d + 14);
    if (headerSize > size - 14) return false;

    int64_t width, height;
    uint32_t bpp, compression = 0, colours = 0;
    size_t entryBytes = 4;
    if (headerSize == 12) {  // OS/2 1.x
        width = Le16(d + 18);
        height = Le16(d + 20);
        bpp = Le16(d + 24);
        entryBytes = 3;
    } else if (headerSize >= 40) {
        width = int32_t(Le32(d + 18));
        height = int32_t(Le32(d + 22));
        bpp = Le16(d + 28);
        compression = Le32(d + 30);
        colours = Le32(d + 46);
    } else {
        return false;
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;

    uint32_t masks[4] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};  // red, green, blue, alpha
    if (bpp == 16) masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    size_t pos = 14 + headerSize;
    if (compression == 3 || compression == 6) {  // BI_BITFIELDS, BI_ALPHABITFIELDS
        if (bpp != 16 && bpp != 32) return false;
        // Version 4 and 5 headers hold the masks; the plain one is followed by them.
        const size_t at = headerSize >= 52 ? 54 : pos;
        const int n = compression == 6 || headerSize >= 56 ? 4 : 3;
        if (size < at + 4 * size_t(n)) return false;
        for (int i = 0; i < n; ++i) masks[i] = Le32(d + at + 4 * i);
        if (headerSize < 52) pos += 4 * size_t(n);
    } else if (compression != 0) {
        return false;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;

    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        const size_t full = size_t(1) << bpp;
        const size_t n = colours == 0 || colours > full ? full : colours;
        if (pos > size || (size - pos) / entryBytes < n) return false;
        for (size_t i = 0; i < n; ++i, pos += entryBytes)
            palette.push_back(0xFF000000u | uint32_t(d[pos + 2]) << 16 | uint32_t(d[pos + 1]) << 8 | d[pos]);
    }

    if (width <= 0 || width > kMaxImageSide || height > kMaxImageSide) return false;
    const size_t stride = (size_t(width) * bpp + 31) / 32 * 4;
    if (dataOffset > size || (size - dataOffset) / stride < size_t(height)) return false;
    if (!AllocateImage(out, width, height)) return false;

    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = d + dataOffset + size_t(row) * stride;
        const int64_t y = topDown ? row : height - 1 - row;
        uint8_t* q = &out.bgra[size_t(y) * size_t(width) * 4];
        for (int64_t x = 0; x < width; ++x, q += 4) {
            uint32_t c;
            if (bpp <= 8) {
                const size_t bit = size_t(x) * bpp;
                const uint32_t index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                c = index < palette.size() ? palette[index] : 0xFF000000u;
            } else if (bpp == 24) {
                const uint8_t* p = src + x * 3;
                c = 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
            } else {
                const uint32_t v = bpp == 16 ? Le16(src + x * 2) : Le32(src + x * 4);
                c = uint32_t(Channel(v, masks[0])) << 16 | uint32_t(Channel(v, masks[1])) << 8 | Channel(v, masks[2]);
                // Without an alpha mask the fourth byte is padding.
                c |= masks[3] ? uint32_t(Channel(v, masks[3])) << 24 : 0xFF000000u;
            }
            q[0] = uint8_t(c), q[1] = uint8_t(c >> 8), q[2] = uint8_t(c >> 16), q[3] = uint8_t(c >> 24);
        }
    }
    return true;
}

}  // namespace preview
