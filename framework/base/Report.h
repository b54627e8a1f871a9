#pragma once
// AfxMessageBox through a replaceable reporter: the GUI shows message boxes,
// the command-line tool writes to standard error, tests record.

#include <functional>
#include <string>

#include "framework/base/Types.h"

// Message box styles and answers; the values are the system's MB_ and ID codes.
namespace afx {
enum : UINT {
    mbOk = 0x00,
    mbOkCancel = 0x01,
    mbYesNoCancel = 0x03,
    mbYesNo = 0x04,
    mbIconError = 0x10,
    mbIconQuestion = 0x20,
    mbIconWarning = 0x30,
    mbIconInformation = 0x40,
    mbDefButton2 = 0x100,  // the second button answers Enter
};
enum : int { idOk = 1, idCancel = 2, idYes = 6, idNo = 7 };
}  // namespace afx

// Shows a message and returns the answer; an empty caption stands for the
// application's title.
using MessageBoxHandler = std::function<int(const std::string& text, UINT type, const std::string& caption)>;

// Shows text modally and returns the answer (afx::idOk etc.). The caption
// is the application's title unless given.
int AfxMessageBox(const std::string& text, UINT type = afx::mbOk, const std::string& caption = {});

// Installs handler (an empty one restores the default, which writes to
// standard error and answers OK or Yes); returns the previous handler.
MessageBoxHandler AfxSetMessageBoxHandler(MessageBoxHandler handler);

// Runs before every message and error report while one is set: a command
// that keeps a progress window up takes it down there, so that no message
// stands behind it. Returns the one it replaces.
using ReportPrelude = std::function<void()>;
ReportPrelude AfxSetReportPrelude(ReportPrelude prelude);

// Per-file failures of a command: a one-line summary and the details, one
// block per file ("name\r\nreason\r\n\r\n"). The GUI shows them in its
// error-details dialog; the default handler shows both through AfxMessageBox.
using ErrorDetailsHandler = std::function<void(const std::string& summary, const std::string& details)>;
void AfxShowErrorDetails(const std::string& summary, const std::string& details);
ErrorDetailsHandler AfxSetErrorDetailsHandler(ErrorDetailsHandler handler);
// Appends one file's block to details.
void AppendErrorDetail(std::string& details, const std::string& name, const std::string& reason);

// printf-style formatting into a std::string.
std::string FormatString(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
