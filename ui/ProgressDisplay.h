#pragma once
// What a long command shows while it keeps the user-interface thread busy:
// an action line, a detail line and a bar. The application object provides
// it; commands find it through the application.

#include <cstdint>
#include <string>

class CProgressDisplay {
public:
    virtual ~CProgressDisplay() = default;
    // Puts the display up with the action's text.
    virtual void ShowProgress(const std::string& action) = 0;
    // The detail line and the bar at nDone of nTotal; the range is set anew
    // every time.
    virtual void SetProgress(std::string detail, int32_t nDone, int32_t nTotal) = 0;
    // Takes the display down; a later ShowProgress starts afresh.
    virtual void HideProgress() = 0;
};
