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

ReportPrelude& CurrentPrelude()
{
    static ReportPrelude prelude;
    return prelude;
}

void RunPrelude()
{
    if (const ReportPrelude& prelude = CurrentPrelude()) prelude();
}
}  // namespace

ReportPrelude AfxSetReportPrelude(ReportPrelude prelude)
{
    ReportPrelude previous = std::move(CurrentPrelude());
    CurrentPrelude() = std::move(prelude);
    return previous;
}

int AfxMessageBox(const std::string& text, UINT type, const std::string& caption)
{
    RunPrelude();
    if (const MessageBoxHandler& handler = CurrentHandler())
        return handler(text, type, caption);
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

namespace {
ErrorDetailsHandler& CurrentDetailsHandler()
{
    static ErrorDetailsHandler handler;
    return handler;
}
}  // namespace

void AfxShowErrorDetails(const std::string& summary, const std::string& details)
{
    RunPrelude();
    if (const ErrorDetailsHandler& handler = CurrentDetailsHandler()) {
        handler(summary, details);
        return;
    }
    AfxMessageBox(summary + "\r\n\r\n" + details, afx::mbOk | afx::mbIconError);
}

ErrorDetailsHandler AfxSetErrorDetailsHandler(ErrorDetailsHandler handler)
{
    ErrorDetailsHandler previous = std::move(CurrentDetailsHandler());
    CurrentDetailsHandler() = std::move(handler);
    return previous;
}

void AppendErrorDetail(std::string& details, const std::string& name, const std::string& reason)
{
    details += name;
    details += "\r\n";
    details += reason;
    details += "\r\n\r\n";
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
