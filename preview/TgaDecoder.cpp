// TGA reader for the quick view.

#include "preview/Image.h"

namespace preview {

namespace {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct TgaHeader {
    uint8_t idLength, mapType, imageType;
    uint16_t mapFirst, mapLength;
    uint8_t mapEntryBits;
    uint16_t width, height;
    uint8_t pixelBits, descriptor;
};

bool ReadHeader(const uint8_t* d, size_t size, TgaHeader& h)
{
    if (size < 18) return false;
    h = {d[0], d[1], d[2], Le16(d + 3), Le16(d + 5), d[7], Le16(d + 12), Le16(d + 14), d[16], d[17]};
    const int base = h.imageType & 7;
    if ((h.imageType & ~8) < 1 || (h.imageType & ~8) > 3) return false;
    if (h.mapType > 1 || h.width == 0 || h.height == 0) return false;
    if (base == 1) {
        if (h.mapType != 1 || h.pixelBits != 8 || h.mapLength == 0) return false;
        if (h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
            return false;
    } else if (base == 2) {
        if (h.pixelBits != 15 && h.pixelBits != 16 && h.pixelBits != 24 && h.pixelBits != 32) return false;
    } else if (h.pixelBits != 8) {
        return false;
    }
    return true;
}

// One pixel of `bits` bits at p as 0xAARRGGBB. 15/16-bit ones are opaque:
// writers rarely fill the attribute bit.
uint32_t Colour(const uint8_t* p, int bits)
{
    switch (bits) {
    case 8: return 0xFF000000u | uint32_t(p[0]) * 0x010101u;
    case 15:
    case 16: {
        const uint32_t v = Le16(p);
        const uint32_t r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
    }
    case 24: return 0xFF000000u | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    default: return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
    }
}

}  // namespace

bool DecodeTga(const uint8_t* data, size_t size, Image& out)
{
    out = Image();
    TgaHeader h;
    if (!ReadHeader(data, size, h)) return false;
    size_t pos = 18 + size_t(h.idLength);

    // The colour map, when there is one, even in a true-colour file.
    std::vector<uint32_t> map;
    if (h.mapType == 1) {
        const size_t entryBytes = (size_t(h.mapEntryBits) + 7) / 8;
        if (entryBytes == 0) return false;
        const size_t mapBytes = entryBytes * h.mapLength;
        if (pos > size || size - pos < mapBytes) return false;
        // A true-colour file may carry one too: it is only skipped.
        if ((h.imageType & 7) == 1) {
            const int bits = h.mapEntryBits == 15 ? 16 : h.mapEntryBits;
            map.reserve(h.mapLength);
            for (size_t i = 0; i < h.mapLength; ++i) map.push_back(Colour(data + pos + i * entryBytes, bits));
        }
        pos += mapBytes;
    }
    const bool mapped = (h.imageType & 7) == 1;
    const int bits = h.pixelBits == 15 ? 16 : h.pixelBits;
    const size_t bytesPer = size_t(bits) / 8;
    const bool rle = (h.imageType & 8) != 0;
    // Too few bytes for the pixels even at best (a run of 128 per packet):
    // refused before anything is allocated.
    const uint64_t pixels = uint64_t(h.width) * h.height;
    const uint64_t least = rle ? (pixels + 127) / 128 * (1 + bytesPer) : pixels * bytesPer;
    if (pos > size || least > size - pos) return false;
    if (!AllocateImage(out, h.width, h.height)) return false;
    const size_t count = size_t(pixels);
    const bool topDown = (h.descriptor & 0x20) != 0;
    const bool rightToLeft = (h.descriptor & 0x10) != 0;

    auto colourAt = [&](const uint8_t* p, uint32_t& c) {
        if (!mapped) {
            c = Colour(p, bits);
            return true;
        }
        if (p[0] < h.mapFirst || size_t(p[0] - h.mapFirst) >= map.size()) return false;
        c = map[p[0] - h.mapFirst];
        return true;
    };
    auto put = [&](size_t i, uint32_t c) {
        size_t x = i % h.width, y = i / h.width;
        if (!topDown) y = h.height - 1 - y;
        if (rightToLeft) x = h.width - 1 - x;
        uint8_t* q = &out.bgra[(y * h.width + x) * 4];
        q[0] = uint8_t(c), q[1] = uint8_t(c >> 8), q[2] = uint8_t(c >> 16), q[3] = uint8_t(c >> 24);
    };

    bool ok = true;
    for (size_t i = 0; i < count && ok;) {
        size_t run = 1;
        bool repeat = false;
        if (rle) {
            if (pos >= size) { ok = false; break; }
            const uint8_t packet = data[pos++];
            run = size_t(packet & 0x7F) + 1;
            repeat = (packet & 0x80) != 0;
            if (run > count - i) run = count - i;  // a packet past the end: keep what fits
        }
        if (repeat) {
            uint32_t c;
            if (size - pos < bytesPer || !colourAt(data + pos, c)) { ok = false; break; }
            pos += bytesPer;
            for (size_t k = 0; k < run; ++k) put(i++, c);
        } else {
            if (!rle) run = count;  // all at once: one bounds check
            if (pos > size || (size - pos) / bytesPer < run) { ok = false; break; }
            for (size_t k = 0; k < run; ++k, pos += bytesPer) {
                uint32_t c;
                if (!colourAt(data + pos, c)) { ok = false; break; }
                put(i++, c);
            }
        }
    }
    if (!ok) out = Image();
    return ok;
}

}  // namespace preview
