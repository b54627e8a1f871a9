// The quick view's decoders on small files built here, pixel for pixel, and
// its content checks.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "preview/Content.h"
#include "preview/Image.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) { b.push_back(uint8_t(v)), b.push_back(uint8_t(v >> 8)); }
void Put32(Bytes& b, uint32_t v) { Put16(b, v & 0xFFFF), Put16(b, v >> 16); }
Bytes operator+(Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

Bytes Tga(uint8_t type, uint8_t bits, uint16_t w, uint16_t h, uint8_t descriptor, const Bytes& pixels,
          const Bytes& map = {}, uint8_t mapBits = 0)
{
    Bytes b = {3, uint8_t(map.empty() ? 0 : 1), type};  // an id of three bytes to skip
    Put16(b, 0), Put16(b, map.empty() ? 0 : uint16_t(map.size() / ((mapBits + 7) / 8)));
    b.push_back(mapBits);
    Put16(b, 0), Put16(b, 0), Put16(b, w), Put16(b, h);
    b.push_back(bits), b.push_back(descriptor);
    return b + Bytes{'i', 'd', '!'} + map + pixels;
}

// The decoded pixels as 0xAARRGGBB, row by row from the top.
std::vector<uint32_t> Pixels(const preview::Image& image)
{
    std::vector<uint32_t> all;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) all.push_back(image.Pixel(x, y));
    return all;
}

using Px = std::vector<uint32_t>;
constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, K = 0xFF000000, W = 0xFFFFFFFF;

Px DecodedTga(const Bytes& file)
{
    preview::Image image;
    if (!preview::DecodeTga(file.data(), file.size(), image)) return {};
    return Pixels(image);
}

Px DecodedBmp(const Bytes& file, int* width = nullptr)
{
    preview::Image image;
    if (!preview::DecodeBmp(file.data(), file.size(), image)) return {};
    if (width) *width = image.width;
    return Pixels(image);
}

TEST(PreviewTest, TgaFormsOrientationsAndDamage)
{
    // 24-bit bottom-up (the default origin): the file's first row is shown last.
    const Bytes bgr = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
    EXPECT_EQ(DecodedTga(Tga(2, 24, 2, 2, 0x00, bgr)), (Px{B, W, R, G}));
    // Top-left origin, and right to left as well.
    EXPECT_EQ(DecodedTga(Tga(2, 24, 2, 2, 0x20, bgr)), (Px{R, G, B, W}));
    EXPECT_EQ(DecodedTga(Tga(2, 24, 2, 2, 0x30, bgr)), (Px{G, R, W, B}));
    // 32-bit keeps its alpha; 16-bit is 5-5-5 and opaque; 15-bit the same.
    EXPECT_EQ(DecodedTga(Tga(2, 32, 2, 1, 0x28, {1, 2, 3, 0x80, 4, 5, 6, 0})), (Px{0x80030201, 0x00060504}));
    const Bytes fiveBits = {0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x80};  // red, green, blue (attribute bit set)
    EXPECT_EQ(DecodedTga(Tga(2, 16, 3, 1, 0x20, fiveBits)), (Px{R, G, B}));
    EXPECT_EQ(DecodedTga(Tga(2, 15, 3, 1, 0x20, fiveBits)), (Px{R, G, B}));
    // Grey, and 8-bit indexes into a 24-bit colour map.
    EXPECT_EQ(DecodedTga(Tga(3, 8, 2, 1, 0x20, {0x00, 0x80})), (Px{K, 0xFF808080}));
    const Bytes map = {0, 0, 255, 0, 255, 0, 255, 0, 0};  // red, green, blue
    EXPECT_EQ(DecodedTga(Tga(1, 8, 3, 1, 0x20, {2, 0, 1}, map, 24)), (Px{B, R, G}));
    // Run-length: a run and a raw packet, across the row end; then the same
    // over the colour map, and in 16-bit.
    EXPECT_EQ(DecodedTga(Tga(10, 24, 2, 2, 0x20, {0x82, 0, 0, 255, 0x00, 255, 0, 0})), (Px{R, R, R, B}));
    EXPECT_EQ(DecodedTga(Tga(9, 8, 2, 2, 0x20, {0x01, 1, 2, 0x81, 0}, map, 24)), (Px{G, B, R, R}));
    EXPECT_EQ(DecodedTga(Tga(11, 8, 3, 1, 0x20, {0x82, 0xFF})), (Px{W, W, W}));

    // Refused: cut short (raw and run-length), an index past the map, no
    // pixels at all, a size beyond the caps, an unknown type.
    EXPECT_TRUE(DecodedTga(Tga(2, 24, 2, 2, 0, Bytes(bgr.begin(), bgr.end() - 1))).empty());
    EXPECT_TRUE(DecodedTga(Tga(10, 24, 2, 2, 0, {0x82, 0, 0, 255})).empty());
    EXPECT_TRUE(DecodedTga(Tga(1, 8, 1, 1, 0, {3}, map, 24)).empty());
    EXPECT_TRUE(DecodedTga(Tga(2, 24, 0, 1, 0, {})).empty());
    // A short run-length stream claiming the largest size allocates nothing.
    EXPECT_TRUE(DecodedTga(Tga(10, 24, 65535, 65535, 0, {0xFF, 1, 2, 3})).empty());
    EXPECT_TRUE(DecodedTga(Tga(2, 12, 1, 1, 0, {1, 2})).empty());
    EXPECT_TRUE(DecodedTga(Bytes(17, 0)).empty());
}

Bytes Bmp(int32_t w, int32_t h, uint16_t bits, const Bytes& rows, const Bytes& palette = {}, uint32_t compression = 0,
          const Bytes& masks = {})
{
    Bytes info;
    Put32(info, 40), Put32(info, uint32_t(w)), Put32(info, uint32_t(h)), Put16(info, 1), Put16(info, bits);
    Put32(info, compression), Put32(info, uint32_t(rows.size())), Put32(info, 2835), Put32(info, 2835);
    Put32(info, uint32_t(palette.size() / 4)), Put32(info, 0);
    const uint32_t offset = uint32_t(14 + info.size() + masks.size() + palette.size());
    Bytes file = {'B', 'M'};
    Put32(file, offset + uint32_t(rows.size())), Put32(file, 0), Put32(file, offset);
    return file + info + masks + palette + rows;
}

TEST(PreviewTest, BmpDepthsOrientationsAndDamage)
{
    const Bytes blackWhite = {0, 0, 0, 0, 255, 255, 255, 0};
    // 1-bit, bottom-up, rows padded to four bytes: the top row is the second.
    EXPECT_EQ(DecodedBmp(Bmp(3, 2, 1, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}, blackWhite)), (Px{K, W, K, W, K, W}));
    // 4-bit with a short palette: indexes past it are black.
    const Bytes redGreen = {0, 0, 255, 0, 0, 255, 0, 0};
    EXPECT_EQ(DecodedBmp(Bmp(3, 1, 4, {0x01, 0x50, 0, 0}, redGreen)), (Px{R, G, K}));
    // 8-bit, top-down (negative height).
    EXPECT_EQ(DecodedBmp(Bmp(2, -2, 8, {1, 0, 0, 0, 0, 1, 0, 0}, redGreen)), (Px{G, R, R, G}));
    // 24-bit with row padding; 32-bit plain (the fourth byte is padding).
    EXPECT_EQ(DecodedBmp(Bmp(1, 2, 24, {255, 0, 0, 0, 0, 0, 255, 0})), (Px{R, B}));
    EXPECT_EQ(DecodedBmp(Bmp(2, 1, 32, {255, 0, 0, 7, 0, 255, 0, 0})), (Px{B, G}));
    // 16-bit 5-5-5, and 5-6-5 and 32-bit with alpha through bit masks.
    EXPECT_EQ(DecodedBmp(Bmp(2, 1, 16, {0x00, 0x7C, 0x1F, 0x00})), (Px{R, B}));
    Bytes masks565;
    Put32(masks565, 0xF800), Put32(masks565, 0x07E0), Put32(masks565, 0x001F);
    EXPECT_EQ(DecodedBmp(Bmp(2, 1, 16, {0xE0, 0x07, 0x00, 0xF8}, {}, 3, masks565)), (Px{G, R}));
    Bytes masksArgb;
    Put32(masksArgb, 0x00FF0000), Put32(masksArgb, 0x0000FF00), Put32(masksArgb, 0x000000FF), Put32(masksArgb, 0xFF000000);
    EXPECT_EQ(DecodedBmp(Bmp(1, 1, 32, {3, 2, 1, 0x40}, {}, 6, masksArgb)), (Px{0x40010203}));

    // Refused: rows cut short, run-length compression, absurd sizes.
    EXPECT_TRUE(DecodedBmp(Bmp(1, 2, 24, {255, 0, 0, 0, 0, 0, 255})).empty());
    EXPECT_TRUE(DecodedBmp(Bmp(1, 1, 8, {0, 0, 0, 0}, redGreen, 1)).empty());
    EXPECT_TRUE(DecodedBmp(Bmp(0x7FFFFFFF, 1, 1, {0, 0, 0, 0})).empty());
    EXPECT_TRUE(DecodedBmp(Bmp(1, int32_t(0x80000000), 24, {0, 0, 0, 0})).empty());
}

TEST(PreviewTest, ContentKindsTextLinesWavAndDump)
{
    auto bytes = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    auto kind = [](const std::string& name, const Bytes& b) { return preview::Classify(name, b.data(), b.size()); };
    auto lines = [](const Bytes& b) { return preview::CountLines(b.data(), b.size()); };

    // Text by content whatever the name; ANSI letters are text, a NUL or
    // many control bytes are not.
    const Bytes table = bytes("#Weapons\r\nname = \xC9p\xE9\x65\n\tdamage = 4\rlast");
    EXPECT_EQ(kind("weapons.tbl", table), preview::Kind::text);
    EXPECT_EQ(kind("weapons.dat", table), preview::Kind::text);
    EXPECT_EQ(kind("a.txt", bytes(std::string("ab\0cd", 5))), preview::Kind::binary);
    EXPECT_EQ(kind("a.txt", bytes("\x01\x02\x03 some text")), preview::Kind::binary);
    EXPECT_EQ(lines(table), 4u);
    EXPECT_EQ(lines(bytes("one\r\ntwo\r\n")), 2u);
    EXPECT_EQ(lines({}), 0u);
    EXPECT_EQ(preview::TextWithCrLf(table.data(), table.size()),
              "#Weapons\r\nname = \xC9p\xE9\x65\r\n\tdamage = 4\r\nlast");

    // WAV: the format chunk after an odd-sized chunk (padded), then data.
    Bytes wav = bytes("RIFF") + Bytes{0, 0, 0, 0} + bytes("WAVELIST") + Bytes{3, 0, 0, 0, 'a', 'b', 'c', 0};
    wav = wav + bytes("fmt ");
    Put32(wav, 16), Put16(wav, 1), Put16(wav, 2), Put32(wav, 22050), Put32(wav, 88200), Put16(wav, 4), Put16(wav, 16);
    wav = wav + bytes("data"), Put32(wav, 8), wav.resize(wav.size() + 8, 0);
    preview::WavInfo info;
    ASSERT_TRUE(preview::ParseWav(wav.data(), wav.size(), info));
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.sampleRate, 22050u);
    EXPECT_EQ(info.bitsPerSample, 16);
    EXPECT_EQ(info.dataBytes, 8u);
    EXPECT_EQ(kind("noise.bin", wav), preview::Kind::sound);
    wav[31] = 0xFF;  // the format chunk's length now runs past the end
    EXPECT_FALSE(preview::ParseWav(wav.data(), wav.size(), info));

    // Images by header or by name; the rest binary.
    EXPECT_EQ(kind("x", Bmp(1, 1, 24, {0, 0, 0, 0})), preview::Kind::image);
    EXPECT_EQ(kind("BM.txt", bytes("BM is a text too")), preview::Kind::text);
    EXPECT_EQ(kind("wall.TGA", Bytes(4, 0)), preview::Kind::image);

    // The dump: offset, hex in two groups of eight, the ANSI column; capped.
    Bytes some = bytes("Hi\x01\xE9");
    EXPECT_EQ(preview::HexDump(some.data(), some.size()),
              "00000000  48 69 01 E9" + std::string(39, ' ') + "Hi.\xE9");
    Bytes big(200000, 'A');
    const std::string dump = preview::HexDump(big.data(), big.size());
    EXPECT_EQ(dump.substr(dump.rfind('\n') + 1, 8), "0000FFF0");
}

}  // namespace
