#pragma once
// How the tool writes entry names into lines of text. Names are bytes and
// may hold anything, a newline included, so every byte that could break a
// line apart or be misread is written as "\xNN": control bytes, DEL, the
// double quote, and a backslash that starts "\x". Every other backslash
// stays, so "\xNN" always means one escaped byte and the name can be
// recovered exactly.

#include <string>

#include "framework/base/Report.h"

inline std::string EscapeName(const std::string& name)
{
    std::string out;
    out.reserve(name.size());
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const bool startsEscape = c == '\\' && i + 1 < name.size() && name[i + 1] == 'x';
        if (c < 0x20 || c == 0x7F || c == '"' || startsEscape)
            out += FormatString("\\x%02X", unsigned(c));
        else
            out += char(c);
    }
    return out;
}

// name as a JSON string. JSON wants Unicode and names are bytes of the
// ANSI code page: each byte 0x80 to 0xFF becomes the character of the same
// number (U+0080 to U+00FF), so every name maps back to its bytes.
inline std::string JsonString(const std::string& name)
{
    std::string out = "\"";
    for (const char ch : name) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c == 0x7F) {
            out += FormatString("\\u%04X", unsigned(c));
        } else if (c >= 0x80) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}
