#include "framework/win32/Callback.h"

#include <string>

#include "framework/base/Exception.h"
#include "framework/base/Report.h"

namespace {
const char* const kTextUnexpected = "An unexpected error occurred.";
}  // namespace

void AfxReportException(const std::exception& e)
{
    if (dynamic_cast<const CUserException*>(&e)) return;
    if (const auto* fe = dynamic_cast<const CFileException*>(&e)) {
        fe->ReportError();
        return;
    }
    AfxMessageBox(std::string("An unexpected error occurred: ") + e.what(), afx::mbOk | afx::mbIconError);
}

void AfxReportCurrentException() noexcept
{
    // Reporting may fail in turn (no memory for the text): the callback
    // must still return to the system.
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            AfxReportException(e);
        } catch (...) {
            AfxMessageBox(kTextUnexpected, afx::mbOk | afx::mbIconError);
        }
    } catch (...) {
    }
}
