#include "framework/base/Report.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
MessageBoxHandler& CurrentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}
}  // namespace

int AfxMessageBox(const std::string& text, UINT type)
{
    if (const MessageBoxHandler& handler = CurrentHandler())
        return handler(text, type);
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
    // Nobody can answer: take the choice that goes on.
    const UINT buttons = type & 0x0F;
    return (buttons == afx::mbYesNo || buttons == afx::mbYesNoCancel) ? afx::idYes : afx::idOk;
}

MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(size_t(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), size_t(length));
    }
    va_end(args);
    return result;
}
