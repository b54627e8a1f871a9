#include "framework/win32/ControlBar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/win32/AfxRes.h"

// ---------------------------------------------------------------------------
// CControlBar

DWORD CControlBar::SplitStyle(DWORD dwStyle)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    return dwStyle & ~CBRS_ALL;
}

SIZE CControlBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    (void)nLength;
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

// ---------------------------------------------------------------------------
// CToolBar

namespace {
// A toolbar button's state set by a command handler.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(HWND hToolBar) : m_hToolBar(hToolBar) {}
    void Enable(BOOL bOn) override
    {
        CCmdUI::Enable(bOn);
        const LRESULT state = ::SendMessageA(m_hToolBar, TB_GETSTATE, m_nID, 0);
        if (state == -1) return;
        const bool enabled = (state & TBSTATE_ENABLED) != 0;
        if (enabled != (bOn != FALSE)) ::SendMessageA(m_hToolBar, TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? 1 : 0, 0));
    }
    void SetCheck(int nCheck) override { ::SendMessageA(m_hToolBar, TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck ? 1 : 0, 0)); }

private:
    HWND m_hToolBar;
};
}  // namespace

BOOL CToolBar::CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, RECT rcBorders, UINT nID)
{
    (void)rcBorders;  // the control draws its own edges
    DWORD windowStyle = SplitStyle(dwStyle) | dwCtrlStyle;
    // The frame lays the bar out; the control must not move or size itself.
    windowStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    if (m_dwStyle & CBRS_TOOLTIPS) windowStyle |= TBSTYLE_TOOLTIPS;
    const RECT rect{0, 0, 0, 0};
    if (!CWnd::CreateEx(0, TOOLBARCLASSNAMEA, nullptr, windowStyle, rect, pParent, nID)) return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    const HINSTANCE hInst = GetModuleHandleA(nullptr);
    const HRSRC hRes = FindResourceA(hInst, MAKEINTRESOURCEA(nIDResource), MAKEINTRESOURCEA(AFX_RT_TOOLBAR));
    if (!hRes) return FALSE;
    const HGLOBAL hGlobal = LoadResource(hInst, hRes);
    const WORD* data = hGlobal ? static_cast<const WORD*>(LockResource(hGlobal)) : nullptr;
    if (!data || data[0] != 1) return FALSE;
    const int cx = data[1];
    const int cy = data[2];
    const int count = data[3];
    const WORD* ids = data + 4;

    // Black, greys and white become the user's button colours.
    CScopedBitmap bitmap(CreateMappedBitmap(hInst, INT_PTR(nIDResource), 0, nullptr, 0));
    if (!bitmap) return FALSE;
    m_bmImageWell = std::move(bitmap);
    const HBITMAP hbm = m_bmImageWell.Get();

    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(cx, cy));
    BITMAP bm{};
    ::GetObjectA(hbm, sizeof bm, &bm);
    TBADDBITMAP add{nullptr, reinterpret_cast<UINT_PTR>(hbm)};
    SendMessage(TB_ADDBITMAP, WPARAM(cx > 0 ? bm.bmWidth / cx : 0), reinterpret_cast<LPARAM>(&add));

    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& b = buttons[size_t(i)];
        b.idCommand = ids[i];
        b.iString = -1;
        if (ids[i] == ID_SEPARATOR) {
            b.fsStyle = BTNS_SEP;
        } else {
            b.iBitmap = image++;
            b.fsState = TBSTATE_ENABLED;
            b.fsStyle = BTNS_BUTTON;
        }
    }
    SendMessage(TB_ADDBUTTONSA, WPARAM(count), reinterpret_cast<LPARAM>(buttons.data()));
    SIZE sizeImage{cx, cy};
    SIZE sizeButton{cx + 7, cy + 7};
    m_sizeImage = sizeImage;
    SetSizes(sizeButton, sizeImage);
    return TRUE;
}

BOOL CToolBar::SetButtonText(int nIndex, const std::string& text)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = const_cast<char*>(text.c_str());
    return SendMessage(TB_SETBUTTONINFOA, WPARAM(nIndex), reinterpret_cast<LPARAM>(&info)) != 0;
}

std::string CToolBar::GetButtonText(int nIndex) const
{
    char buffer[256] = {};
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_BYINDEX;
    info.pszText = buffer;
    info.cchText = sizeof buffer;
    if (SendMessage(TB_GETBUTTONINFOA, WPARAM(nIndex), reinterpret_cast<LPARAM>(&info)) == -1) return {};
    return buffer;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON b{};
    SendMessage(TB_GETBUTTON, WPARAM(nIndex), reinterpret_cast<LPARAM>(&b));
    return UINT(b.idCommand);
}

int CToolBar::GetCount() const { return int(SendMessage(TB_BUTTONCOUNT)); }

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON b{};
    SendMessage(TB_GETBUTTON, WPARAM(nIndex), reinterpret_cast<LPARAM>(&b));
    return b.fsStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_STYLE | TBIF_BYINDEX;
    info.fsStyle = BYTE(nStyle);
    SendMessage(TB_SETBUTTONINFOA, WPARAM(nIndex), reinterpret_cast<LPARAM>(&info));
}

void CToolBar::GetItemRect(int nIndex, RECT* pRect) const
{
    SendMessage(TB_GETITEMRECT, WPARAM(nIndex), reinterpret_cast<LPARAM>(pRect));
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

SIZE CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    (void)bHorz;
    SIZE size{0, 0};
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        RECT r{};
        GetItemRect(i, &r);
        size.cx = std::max<LONG>(size.cx, r.right);
        size.cy = std::max<LONG>(size.cy, r.bottom);
    }
    const LRESULT buttonSize = SendMessage(TB_GETBUTTONSIZE);
    size.cy = std::max<LONG>(size.cy, HIWORD(buttonSize));
    size.cy += AfxScaleForScreen(4);  // room above and below the buttons
    if (bStretch) {
        RECT parent{};
        if (CWnd* p = GetParent()) ::GetClientRect(p->m_hWnd, &parent);
        size.cx = std::max<LONG>(size.cx, parent.right);
    }
    return size;
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    CToolCmdUI state(m_hWnd);
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        TBBUTTON b{};
        SendMessage(TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&b));
        if (b.fsStyle & BTNS_SEP) continue;
        state.m_nID = UINT(b.idCommand);
        state.m_nIndex = UINT(i);
        state.DoUpdate(pTarget, bDisableIfNoHandler);
    }
}

// ---------------------------------------------------------------------------
// CStatusBar

BOOL CStatusBar::Create(CWnd* pParent, DWORD dwStyle, UINT nID)
{
    const DWORD windowStyle = SplitStyle(dwStyle) | SBARS_SIZEGRIP;
    const RECT rect{0, 0, 0, 0};
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, windowStyle, rect, pParent, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    m_panes.assign(size_t(nIDCount), Pane{});
    {
        // Each pane as wide as its text in the bar's own font.
        const CScopedClientDC dc(m_hWnd);
        const CScopedSelectObject font(dc.Get(), reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
        for (int i = 0; i < nIDCount; ++i) {
            Pane& pane = m_panes[size_t(i)];
            pane.nID = lpIDArray[i];
            if (pane.nID == ID_SEPARATOR) {
                pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
                pane.cxWidth = 0;
            } else {
                pane.text = AfxLoadString(pane.nID);
                SIZE extent{0, 0};
                ::GetTextExtentPoint32A(dc.Get(), pane.text.c_str(), int(pane.text.size()), &extent);
                pane.cxWidth = extent.cx;
            }
        }
    }
    ApplyParts();
    for (int i = 0; i < nIDCount; ++i) ApplyText(i);
    return TRUE;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    Pane& pane = m_panes.at(size_t(nIndex));
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxWidth = cxWidth;
    ApplyParts();
    ApplyText(nIndex);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    const Pane& pane = m_panes.at(size_t(nIndex));
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxWidth;
}

BOOL CStatusBar::SetPaneText(int nIndex, const std::string& text, BOOL bUpdate)
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size()) return FALSE;
    Pane& pane = m_panes[size_t(nIndex)];
    if (pane.text == text) return TRUE;  // unchanged text is not redrawn
    pane.text = text;
    ApplyText(nIndex);
    if (bUpdate) UpdateWindow();
    return TRUE;
}

std::string CStatusBar::GetPaneText(int nIndex) const
{
    if (nIndex < 0 || size_t(nIndex) >= m_panes.size()) return {};
    return m_panes[size_t(nIndex)].text;
}

std::vector<int> CStatusBar::ComputePartEdges(int cxClient) const
{
    int fixed = 0;
    int stretchCount = 0;
    for (const Pane& pane : m_panes) {
        fixed += pane.cxWidth;
        if (pane.nStyle & SBPS_STRETCH) ++stretchCount;
    }
    // The stretch panes share what is left over equally.
    const int spare = std::max(0, cxClient - ::GetSystemMetrics(SM_CXVSCROLL) - fixed);
    std::vector<int> edges;
    int right = 0;
    int given = 0;
    int stretchSeen = 0;
    for (const Pane& pane : m_panes) {
        right += pane.cxWidth;
        if ((pane.nStyle & SBPS_STRETCH) && stretchCount > 0) {
            ++stretchSeen;
            const int share = stretchSeen == stretchCount ? spare - given : spare / stretchCount;
            given += share;
            right += share;
        }
        edges.push_back(right);
    }
    return edges;
}

void CStatusBar::ApplyParts()
{
    if (!m_hWnd || m_panes.empty()) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    std::vector<int> edges = ComputePartEdges(client.right);
    SendMessage(SB_SETPARTS, WPARAM(edges.size()), reinterpret_cast<LPARAM>(edges.data()));
}

void CStatusBar::ApplyText(int nIndex)
{
    const Pane& pane = m_panes[size_t(nIndex)];
    WPARAM type = WPARAM(nIndex);
    if (pane.nStyle & SBPS_NOBORDERS) type |= SBT_NOBORDERS;
    if (pane.nStyle & SBPS_POPOUT) type |= SBT_POPOUT;
    const std::string shown = (pane.nStyle & SBPS_DISABLED) ? std::string() : pane.text;
    SendMessage(SB_SETTEXTA, type, reinterpret_cast<LPARAM>(shown.c_str()));
}

SIZE CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    (void)bStretch;
    (void)bHorz;
    RECT r{};
    ::GetWindowRect(m_hWnd, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void CStatusBar::OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler)
{
    // Panes are written by the program itself; none has a state handler.
    (void)pTarget;
    (void)bDisableIfNoHandler;
}

LRESULT CStatusBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE) ApplyParts();
    return result;
}
