#include "framework/base/CodePage.h"

// Windows-1252 has no characters of two bytes.
bool IsAnsiLeadByte(unsigned char) { return false; }

bool IsAnsiSuperscriptDigit(unsigned char byte) { return byte == 0xB9 || byte == 0xB2 || byte == 0xB3; }

// Windows-1252: ASCII letters, the Latin-1 capitals (but the multiplication
// sign), and the four capitals placed in 0x80-0x9F.
static unsigned char LowerCp1252(unsigned char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;  // S caron
    case 0x8C: return 0x9C;  // OE
    case 0x8E: return 0x9E;  // Z caron
    case 0x9F: return 0xFF;  // Y diaeresis
    default: return c;
    }
}

void AnsiMakeLower(std::string& text)
{
    for (char& c : text) c = static_cast<char>(LowerCp1252(static_cast<unsigned char>(c)));
}
