#include "framework/base/CodePage.h"

std::string AnsiToLower(const std::string& text)
{
    std::string copy = text;
    AnsiMakeLower(copy);
    return copy;
}
