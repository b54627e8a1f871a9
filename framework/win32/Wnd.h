#pragma once
// A C++ object over a window. One static window procedure finds the object
// of each HWND and turns messages into virtual calls; exceptions are caught
// there by the callback guard and reported, never passed back into the
// system.

#include <windows.h>

#include <string>

#include "framework/win32/Callback.h"
#include "framework/win32/CmdTarget.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to hWnd, or nullptr.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates the window. Windows of the framework's own classes are attached
    // from their first message; system controls are subclassed after creation.
    BOOL CreateEx(DWORD dwExStyle, const char* className, const char* windowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParent, UINT nID, void* lpParam = nullptr);
    // The same for a top-level window with a menu.
    BOOL CreateEx(DWORD dwExStyle, const char* className, const char* windowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParent, HMENU hMenu, void* lpParam);
    BOOL SubclassWindow(HWND hWnd);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual BOOL DestroyWindow();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Messages of this window; the default handles the framework's messages
    // and passes the rest to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: control notifications reflected first, then command routing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflected to the sending child first.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A notification this window sent to its parent, reflected back to it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual int OnCreate(CREATESTRUCTA* lpCreateStruct);
    virtual void OnDestroy() {}
    // After the window is gone; heap objects that own themselves delete here.
    virtual void PostNcDestroy() {}

    // Thin wrappers.
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL UpdateWindow() { return ::UpdateWindow(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    DWORD GetStyle() const { return DWORD(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd);
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE) { ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint); }
    void DragAcceptFiles(BOOL bAccept = TRUE) { ::DragAcceptFiles(m_hWnd, bAccept); }
    UINT GetDlgCtrlID() const { return UINT(::GetDlgCtrlID(m_hWnd)); }
    CWnd* GetParent() const { return FromHandlePermanent(::GetParent(m_hWnd)); }

    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // The window procedure this object replaced (system controls), if any.
    WNDPROC m_pfnSuper = nullptr;

private:
    void Attach(HWND hWnd);
    void Detach();
};

// Registers (once) a window class of the framework's own procedure and
// returns its name.
const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                                HICON hIcon = nullptr);

// The string resource id of this module, or "" when there is none.
std::string AfxLoadString(UINT nID);

// The screen's text scale in dots per inch: 96 at 100%, 144 at 150%. The
// program declares itself aware of the scale (system-wide, not per
// monitor), so Windows reports the real value instead of stretching the
// window as a bitmap; XP, which does not stretch, reports it anyway.
int AfxScreenDpi();
// A size given in pixels at 96 dots per inch, at the screen's text scale,
// so that texts in fixed-width columns and panes are not clipped.
int AfxScaleForScreen(int nPixels);
// Of one picture drawn for 100%, 150% and 200%, the one nearest the
// screen's scale (125% takes the 100% one: enlarged by a quarter it would
// not fit the larger cell). Pictures are never stretched: that blurs them.
UINT AfxChooseForScreen(UINT n100, UINT n150, UINT n200);

// The hourglass while the program works without taking input (opening or
// saving an archive of a gigabyte takes seconds); the next mouse move after
// it ends sets the cursor of whatever lies under the mouse again.
class CWaitCursor {
public:
    CWaitCursor() : m_hPrevious(::SetCursor(::LoadCursorA(nullptr, IDC_WAIT))) {}
    ~CWaitCursor() { ::SetCursor(m_hPrevious); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_hPrevious;
};
