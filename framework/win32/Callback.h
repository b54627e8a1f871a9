#pragma once
// The one guard for every function the system calls back (window, dialog,
// hook and enumeration procedures, shell callbacks): an exception must not
// unwind through the system's frames, so it is caught and reported here and
// the system gets the callback's failure value instead.

#include <exception>
#include <utility>

// Reports an exception caught at a callback or command: a file error with
// its own text, nothing for a CUserException, else a generic message.
void AfxReportException(const std::exception& e);
// The same for the exception being handled (inside a catch block); never throws.
void AfxReportCurrentException() noexcept;

// Returns body(), or failure when body throws (the exception is reported).
template <typename Result, typename Body>
Result AfxCallbackGuard(Result failure, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        AfxReportCurrentException();
    }
    return failure;
}
