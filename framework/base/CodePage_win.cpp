#include "framework/base/CodePage.h"

#include <windows.h>

bool IsAnsiLeadByte(unsigned char byte) { return ::IsDBCSLeadByte(byte) != FALSE; }

bool IsAnsiSuperscriptDigit(unsigned char byte)
{
    const char c = static_cast<char>(byte);
    wchar_t w = 0;
    return ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &c, 1, &w, 1) == 1 &&
           (w == 0x00B9 || w == 0x00B2 || w == 0x00B3);
}

void AnsiMakeLower(std::string& text)
{
    // Fast path for plain ASCII, which is what nearly every name is.
    bool ascii = true;
    for (char& c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 0x20);
    }
    if (ascii || text.empty()) return;
    // CharLowerBuffA follows the ANSI code page, double-byte characters included.
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
}
