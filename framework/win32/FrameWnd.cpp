#include "framework/win32/FrameWnd.h"

#include <commctrl.h>
#include <dde.h>
#include <shellapi.h>

#include <vector>

#include "framework/win32/AfxRes.h"
#include "framework/win32/DocTemplate.h"
#include "framework/win32/Menu.h"
#include "framework/win32/WinApp.h"

namespace {
// The prompt of a command: its string up to the newline.
std::string PromptOf(UINT nID)
{
    const std::string text = AfxLoadString(nID);
    return text.substr(0, text.find('\n'));
}

// The tooltip of a command: its string after the newline.
std::string TipOf(UINT nID)
{
    const std::string text = AfxLoadString(nID);
    const size_t newline = text.find('\n');
    return newline == std::string::npos ? std::string() : text.substr(newline + 1);
}
}  // namespace

CFrameWnd::CFrameWnd() = default;

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParent, CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    const HINSTANCE hInst = GetModuleHandleA(nullptr);
    const std::string full = AfxLoadString(nIDResource);
    m_strTitle = full.substr(0, full.find('\n'));

    const HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCEA(nIDResource));
    const char* className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                                reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
    m_hMenuDefault = ::LoadMenuA(hInst, MAKEINTRESOURCEA(nIDResource));
    const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};
    if (!CreateEx(0, className, m_strTitle.c_str(), dwDefaultStyle, rect, pParent, m_hMenuDefault, pContext))
        return FALSE;
    m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(nIDResource));
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    // Keep the default placement; CW_USEDEFAULT sizes need the marker in cx too.
    if (cs.x == int(CW_USEDEFAULT)) cs.cx = int(CW_USEDEFAULT);
    if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
    return CWnd::PreCreateWindow(cs);
}

int CFrameWnd::OnCreate(CREATESTRUCTA* lpCreateStruct)
{
    auto* context = static_cast<CCreateContext*>(lpCreateStruct->lpCreateParams);
    if (!OnCreateClient(lpCreateStruct, context)) return -1;
    SetMessageText(AFX_IDS_IDLEMESSAGE);
    return 0;
}

BOOL CFrameWnd::OnCreateClient(CREATESTRUCTA* lpcs, CCreateContext* pContext)
{
    (void)lpcs;
    if (!pContext || !pContext->m_newView) return TRUE;
    CView* view = pContext->m_newView();
    if (!view) return FALSE;
    if (pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(view);
    if (!view->Create(this, AFX_IDW_PANE_FIRST)) {
        if (pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->RemoveView(view);
        delete view;
        return FALSE;
    }
    m_pViewActive = view;
    return TRUE;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

void CFrameWnd::RecalcLayout()
{
    if (!m_hWnd) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    int top = client.top;
    int bottom = client.bottom;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* bar = dynamic_cast<CControlBar*>(FromHandlePermanent(child));
        if (!bar || !::IsWindowVisible(child)) continue;
        if (bar->GetBarStyle() & CBRS_ALIGN_BOTTOM) {
            const SIZE size = bar->CalcFixedLayout(TRUE, TRUE);
            bottom -= size.cy;
            ::MoveWindow(child, client.left, bottom, client.right - client.left, size.cy, TRUE);
        } else if (bar->GetBarStyle() & CBRS_ALIGN_TOP) {
            const SIZE size = bar->CalcFixedLayout(TRUE, TRUE);
            ::MoveWindow(child, client.left, top, client.right - client.left, size.cy, TRUE);
            top += size.cy;
        }
    }
    if (m_pViewActive && m_pViewActive->m_hWnd)
        ::MoveWindow(m_pViewActive->m_hWnd, client.left, top, client.right - client.left,
                     bottom > top ? bottom - top : 0, TRUE);
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    (void)pDoc;
    if (m_pViewActive) m_pViewActive->OnInitialUpdate();
    OnUpdateFrameTitle();
    RecalcLayout();
    if (bMakeVisible) {
        int nCmdShow = SW_SHOW;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this && app->m_nCmdShow != -1) {
            nCmdShow = app->m_nCmdShow;
            app->m_nCmdShow = -1;  // the start's show mode applies once
        }
        ShowWindow(nCmdShow);
        UpdateWindow();
    }
}

void CFrameWnd::OnUpdateFrameTitle()
{
    // "Application - Document" with FWS_ADDTOTITLE.
    std::string title = m_strTitle;
    if (GetStyle() & FWS_ADDTOTITLE) {
        if (CDocument* doc = GetActiveDocument()) {
            if (!doc->GetTitle().empty()) {
                title = (GetStyle() & FWS_PREFIXTITLE) ? doc->GetTitle() + " - " + m_strTitle
                                                       : m_strTitle + " - " + doc->GetTitle();
            }
        }
    }
    if (GetWindowText() != title) SetWindowText(title);
}

void CFrameWnd::OnIdleUpdateCmdUI()
{
    if (!m_hWnd) return;
    OnUpdateFrameTitle();
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (auto* bar = dynamic_cast<CControlBar*>(FromHandlePermanent(child)))
            if (::IsWindowVisible(child)) bar->OnUpdateCmdUI(this, TRUE);
    }
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SetMessageText(PromptOf(nID));
}

void CFrameWnd::SetMessageText(const std::string& text)
{
    if (auto* bar = dynamic_cast<CStatusBar*>(FromHandlePermanent(::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR))))
        bar->SetPaneText(0, text);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable)
        return ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
    return FALSE;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pCmdUI, bProbe)) return TRUE;
    if (DispatchOwn(nID, nCode, pCmdUI, bProbe)) return TRUE;
    CWinApp* app = AfxGetApp();
    if (app && app->GetDocTemplate() && GetActiveDocument() &&
        app->GetDocTemplate()->OnCmdMsg(nID, nCode, pCmdUI, bProbe))
        return TRUE;
    return app && app->OnCmdMsg(nID, nCode, pCmdUI, bProbe);
}

BOOL CFrameWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CWnd::OnNotify(wParam, lParam, pResult)) return TRUE;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW)
        return OnToolTipText(header, pResult);
    if (header->code == TBN_HOTITEMCHANGE) {
        // The status bar follows the button under the mouse.
        const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(lParam);
        if (hot->dwFlags & HICF_LEAVING)
            SetMessageText(AFX_IDS_IDLEMESSAGE);
        else
            SetMessageText(UINT(hot->idNew));
        return FALSE;
    }
    return FALSE;
}

BOOL CFrameWnd::OnToolTipText(NMHDR* header, LRESULT* pResult)
{
    UINT nID = UINT(header->idFrom);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        if (info->uFlags & TTF_IDISHWND) nID = UINT(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
        lstrcpynA(m_szTipText, TipOf(nID).c_str(), int(sizeof m_szTipText));
        info->lpszText = m_szTipText;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        if (info->uFlags & TTF_IDISHWND) nID = UINT(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
        const std::string tip = TipOf(nID);
        const int n = ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, m_wszTipText,
                                            int(sizeof m_wszTipText / sizeof m_wszTipText[0]));
        if (n == 0) m_wszTipText[0] = L'\0';
        info->lpszText = m_wszTipText;
        info->hinst = nullptr;
    }
    *pResult = 0;
    return TRUE;
}

void CFrameWnd::OnInitMenuPopup(HMENU hMenu)
{
    CCmdUI state;
    state.m_hMenu = hMenu;
    // A handler may insert items (the recent-file list) and move m_nIndex
    // past them, so the count is read on every round.
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
        const UINT nID = ::GetMenuItemID(hMenu, i);
        if (nID == 0 || nID == UINT(-1)) continue;  // separators and popups
        state.m_nID = nID;
        state.m_nIndex = UINT(i);
        state.DoUpdate(this, TRUE);
        i = int(state.m_nIndex);
    }
    if (CMenu* menu = CMenu::FromHandlePermanent(hMenu)) menu->OnCmdUIUpdated();
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu)
{
    if ((nFlags == 0xFFFF && !hMenu) || (nFlags & (MF_SEPARATOR | MF_POPUP)))
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    else
        SetMessageText(nItemID);
}

void CFrameWnd::OnDropFiles(HDROP hDrop)
{
    ::SetActiveWindow(m_hWnd);
    const UINT count = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::string> paths;
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH * 4] = {};
        ::DragQueryFileA(hDrop, i, path, sizeof path);
        paths.push_back(path);
    }
    ::DragFinish(hDrop);
    // Each dropped file is opened as File, Open would; the last one stays.
    if (CWinApp* app = AfxGetApp())
        for (const std::string& path : paths) app->OpenDocumentFile(path.c_str());
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this && !app->SaveAllModified()) return;
    DestroyWindow();
}

LRESULT CFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE: {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED) RecalcLayout();
        return result;
    }
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_EXITMENULOOP:
        SetMessageText(AFX_IDS_IDLEMESSAGE);
        break;
    case WM_DDE_INITIATE:
        if (CWinApp* app = AfxGetApp())
            if (app->m_pMainWnd == this && app->GetDdeServer() &&
                app->GetDdeServer()->OnInitiate(m_hWnd, wParam, lParam))
                return 0;
        break;
    case WM_DDE_EXECUTE:
        if (CWinApp* app = AfxGetApp()) {
            std::vector<CDdeCommand> commands;
            if (app->GetDdeServer() && app->GetDdeServer()->OnExecute(m_hWnd, wParam, lParam, commands)) {
                for (const CDdeCommand& command : commands) app->OnDDECommand(command);
                return 0;
            }
        }
        break;
    case WM_DDE_TERMINATE:
        if (CWinApp* app = AfxGetApp())
            if (app->GetDdeServer() && app->GetDdeServer()->OnTerminate(m_hWnd, wParam)) return 0;
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SETFOCUS:
        if (m_pViewActive && m_pViewActive->m_hWnd) ::SetFocus(m_pViewActive->m_hWnd);
        return 0;
    case WM_NCDESTROY: {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
