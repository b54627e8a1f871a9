// Content detection and the text forms of the quick view.

#include "preview/Content.h"

#include "preview/Image.h"

namespace preview {

bool IsText(const uint8_t* data, size_t size)
{
    size_t controls = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t c = data[i];
        if (c == 0) return false;
        // Tab, line breaks, form feed and the old end-of-file mark are text.
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A) ++controls;
    }
    // A stray control character or two in a long table is still a table.
    return controls * 100 <= size;
}

size_t CountLines(const uint8_t* data, size_t size)
{
    size_t lines = 0;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n')
            ++lines;
        else if (data[i] == '\r' && (i + 1 == size || data[i + 1] != '\n'))
            ++lines;  // a lone CR breaks the line too
    }
    if (size > 0 && data[size - 1] != '\n' && data[size - 1] != '\r') ++lines;
    return lines;
}

std::string TextWithCrLf(const uint8_t* data, size_t size)
{
    std::string text;
    text.reserve(size + size / 16);
    for (size_t i = 0; i < size; ++i) {
        const char c = char(data[i]);
        if (c == '\r') {
            text += "\r\n";
            if (i + 1 < size && data[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

namespace {

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

bool ParseWav(const uint8_t* data, size_t size, WavInfo& info)
{
    info = WavInfo();
    if (size < 12 || std::string(reinterpret_cast<const char*>(data), 4) != "RIFF" ||
        std::string(reinterpret_cast<const char*>(data + 8), 4) != "WAVE")
        return false;
    bool haveFormat = false;
    for (size_t pos = 12; size - pos >= 8;) {
        const std::string id(reinterpret_cast<const char*>(data + pos), 4);
        const uint32_t length = Le32(data + pos + 4);
        pos += 8;
        if (id == "fmt ") {
            if (length < 16 || size - pos < 16) return false;
            info.format = Le16(data + pos);
            info.channels = Le16(data + pos + 2);
            info.sampleRate = Le32(data + pos + 4);
            info.bitsPerSample = Le16(data + pos + 14);
            haveFormat = true;
        } else if (id == "data") {
            info.dataBytes = length;
            info.dataOffset = pos;
            return haveFormat && info.channels != 0 && info.sampleRate != 0;
        }
        // Chunks are padded to even lengths.
        const uint64_t next = uint64_t(pos) + length + (length & 1);
        if (next > size) return false;
        pos = size_t(next);
    }
    return false;
}

std::string HexDump(const uint8_t* data, size_t size)
{
    static const char digits[] = "0123456789ABCDEF";
    if (size > kHexDumpBytes) size = kHexDumpBytes;
    std::string out;
    out.reserve((size + 15) / 16 * 78);
    for (size_t line = 0; line < size; line += 16) {
        for (int shift = 28; shift >= 0; shift -= 4) out += digits[(line >> shift) & 15];
        out += "  ";
        for (size_t i = line; i < line + 16; ++i) {
            if (i < size) {
                out += digits[data[i] >> 4];
                out += digits[data[i] & 15];
            } else {
                out += "  ";
            }
            out += i == line + 7 ? "  " : " ";
        }
        out += ' ';
        for (size_t i = line; i < line + 16 && i < size; ++i) {
            const uint8_t c = data[i];
            // Control characters, DEL and the C1 range show as dots: they
            // would move or break the columns.
            out += (c >= 0x20 && c < 0x7F) || c >= 0xA0 ? char(c) : '.';
        }
        if (line + 16 < size) out += "\r\n";
    }
    return out;
}

Kind Classify(const std::string& name, const uint8_t* data, size_t size)
{
    WavInfo wav;
    if (size >= 18 && data[0] == 'B' && data[1] == 'M') {
        const uint32_t header = Le32(data + 14);
        if (header == 12 || header == 40 || header == 52 || header == 56 || header == 108 || header == 124)
            return Kind::image;
    }
    if (ParseWav(data, size, wav)) return Kind::sound;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.size() - dot == 4) {
        std::string ext = name.substr(dot + 1);
        for (char& c : ext)
            if (c >= 'A' && c <= 'Z') c = char(c + 0x20);
        if (ext == "tga") return Kind::image;
    }
    if (IsText(data, size)) return Kind::text;
    return Kind::binary;
}

}  // namespace preview
