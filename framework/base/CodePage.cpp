#include "framework/base/CodePage.h"

#include <cstring>

size_t AnsiCharLength(const std::string& text, size_t pos)
{
    // Every lead byte of every double-byte code page is 0x81 or above.
    const unsigned char byte = static_cast<unsigned char>(text[pos]);
    return byte >= 0x80 && pos + 1 < text.size() && IsAnsiLeadByte(byte) ? 2 : 1;
}

size_t AnsiFind(const std::string& text, const char* set, size_t from)
{
    for (size_t pos = from; pos < text.size(); pos += AnsiCharLength(text, pos))
        if (text[pos] != '\0' && std::strchr(set, text[pos])) return pos;
    return std::string::npos;
}

size_t AnsiFindLast(const std::string& text, const char* set)
{
    // Forward: only from the start is it known which bytes are trail bytes.
    size_t last = std::string::npos;
    for (size_t pos = 0; pos < text.size(); pos += AnsiCharLength(text, pos))
        if (text[pos] != '\0' && std::strchr(set, text[pos])) last = pos;
    return last;
}

bool AnsiEndsWith(const std::string& text, char c)
{
    size_t pos = 0;
    size_t lastStart = std::string::npos;
    for (; pos < text.size(); pos += AnsiCharLength(text, pos)) lastStart = pos;
    return lastStart != std::string::npos && lastStart + 1 == text.size() && text[lastStart] == c;
}

std::string AnsiCutBytes(const std::string& text, size_t limit)
{
    size_t end = 0;
    while (end < text.size() && end < limit) {
        const size_t length = AnsiCharLength(text, end);
        // A lead byte that the cut, or the end of text, leaves without its
        // trail byte goes too.
        const bool alone = length == 1 && static_cast<unsigned char>(text[end]) >= 0x80 &&
                           IsAnsiLeadByte(static_cast<unsigned char>(text[end]));
        if (alone || end + length > limit) break;
        end += length;
    }
    return text.substr(0, end);
}

std::string AnsiToLower(const std::string& text)
{
    std::string copy = text;
    AnsiMakeLower(copy);
    return copy;
}

void AnsiMakeUpperAscii(std::string& text)
{
    for (size_t pos = 0; pos < text.size(); pos += AnsiCharLength(text, pos))
        if (text[pos] >= 'a' && text[pos] <= 'z') text[pos] = static_cast<char>(text[pos] - 0x20);
}
