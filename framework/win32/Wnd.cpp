#include "framework/win32/Wnd.h"

#include <commctrl.h>

#include <list>
#include <unordered_map>

#include "framework/win32/AfxRes.h"
#include "framework/win32/Handles.h"
#include "framework/win32/Menu.h"

namespace {
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window of a framework class is being created on this
// thread: it is attached at the window's first message.
thread_local CWnd* t_pWndInit = nullptr;

// Whether a disabled command is refused (menus and accelerators only check
// the state the user could not see).
bool IsCommandEnabled(CCmdTarget* target, UINT nID)
{
    CCmdUI state;
    state.m_nID = nID;
    state.DoUpdate(target, TRUE);
    return state.m_bEnabled;
}
}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd) {
        // An object going away takes its window along, but must not be
        // called back as a half-destroyed object.
        const HWND hWnd = m_hWnd;
        Detach();
        ::DestroyWindow(hWnd);
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd) return nullptr;
    const auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    HandleMap()[hWnd] = this;
}

void CWnd::Detach()
{
    if (!m_hWnd) return;
    if (m_pfnSuper) {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    HandleMap().erase(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    (void)cs;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* className, const char* windowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParent, UINT nID, void* lpParam)
{
    return CreateEx(dwExStyle, className, windowName, dwStyle, rect, pParent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, const char* className, const char* windowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParent, HMENU hMenu, void* lpParam)
{
    CREATESTRUCTA cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = dwStyle;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParent ? pParent->m_hWnd : nullptr;
    cs.hMenu = hMenu;
    cs.hInstance = GetModuleHandleA(nullptr);
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) return FALSE;

    CWnd* const previous = t_pWndInit;
    t_pWndInit = this;
    const HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                                        cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    t_pWndInit = previous;
    // A window that got as far as its first message was destroyed again and
    // detached; an object that owns itself may already be gone.
    if (!hWnd) return FALSE;
    if (!m_hWnd) SubclassWindow(hWnd);  // a system control: hook in now
    return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    Attach(hWnd);
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    (void)pMsg;
    return FALSE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd)
{
    const DWORD style = GetStyle();
    const DWORD newStyle = (style & ~dwRemove) | dwAdd;
    if (style == newStyle) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, LONG_PTR(newStyle));
    return TRUE;
}

std::string CWnd::GetWindowText() const
{
    const int length = ::GetWindowTextLengthA(m_hWnd);
    std::string text(size_t(length) + 1, '\0');
    text.resize(size_t(::GetWindowTextA(m_hWnd, text.data(), length + 1)));
    return text;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

int CWnd::OnCreate(CREATESTRUCTA* lpCreateStruct)
{
    (void)lpCreateStruct;
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const HWND hCtrl = reinterpret_cast<HWND>(lParam);
    if (hCtrl) {
        // A control's notification: the control may handle it itself.
        if (CWnd* child = FromHandlePermanent(hCtrl)) {
            LRESULT result = 0;
            if (child->OnChildNotify(WM_COMMAND, wParam, lParam, &result)) return TRUE;
        }
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
    } else if (!IsCommandEnabled(this, nID)) {
        return TRUE;  // a disabled command reached by an accelerator does nothing
    }
    return OnCmdMsg(nID, CN_COMMAND, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (void)wParam;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (CWnd* child = FromHandlePermanent(header->hwndFrom))
        if (child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) return TRUE;
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (void)message;
    (void)wParam;
    (void)lParam;
    (void)pResult;
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)) == -1 ? -1 : 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_COMMAND:
        if (OnCommand(wParam, lParam)) return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result)) return result;
        break;
    }
    // Owner-drawn menu items go to the menu object of their popup.
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType == ODT_MENU && CMenu::RouteMeasureItem(m_hWnd, measure)) return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType == ODT_MENU && CMenu::RouteDrawItem(draw)) return TRUE;
        break;
    }
    default:
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (!wnd && t_pWndInit && !t_pWndInit->m_hWnd) {
        wnd = t_pWndInit;
        t_pWndInit = nullptr;
        wnd->Attach(hWnd);
    }
    if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);

    // A failed WM_CREATE (or WM_NCCREATE) makes CreateWindowEx fail: the
    // window goes again rather than live on half made.
    const LRESULT failure = message == WM_CREATE ? -1 : 0;
    const LRESULT result = AfxCallbackGuard(failure, [&] { return wnd->WindowProc(message, wParam, lParam); });
    if (message == WM_NCDESTROY && FromHandlePermanent(hWnd) == wnd) {
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

const char* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    // Names handed out must stay valid: a list never moves its strings.
    static std::list<std::string> names;
    const std::string name = "PwWnd:" + std::to_string(nClassStyle) + ":" +
                             std::to_string(reinterpret_cast<UINT_PTR>(hCursor)) + ":" +
                             std::to_string(reinterpret_cast<UINT_PTR>(hbrBackground)) + ":" +
                             std::to_string(reinterpret_cast<UINT_PTR>(hIcon));
    for (const std::string& known : names)
        if (known == name) return known.c_str();
    const std::string& stored = names.emplace_back(name);
    WNDCLASSA wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = &CWnd::StaticWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = stored.c_str();
    RegisterClassA(&wc);
    return stored.c_str();
}

std::string AfxLoadString(UINT nID)
{
    char buffer[1024];
    const int length = ::LoadStringA(GetModuleHandleA(nullptr), nID, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, size_t(length)) : std::string();
}

int AfxScreenDpi()
{
    // Read once: a system-aware program keeps the scale it started with.
    static const int dpi = [] {
        const CScopedClientDC screen(nullptr);
        const int value = screen.Get() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 96;
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int AfxScaleForScreen(int nPixels) { return ::MulDiv(nPixels, AfxScreenDpi(), 96); }

UINT AfxChooseForScreen(UINT n100, UINT n150, UINT n200)
{
    const int dpi = AfxScreenDpi();
    if (dpi >= 168) return n200;  // 175% and up
    if (dpi >= 132) return n150;  // from 137.5%
    return n100;
}
