#pragma once
// Control bars of a frame: the toolbar and the status bar, over the common
// controls, with the framework's styles, layout calls and command-state
// updates.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/win32/Handles.h"
#include "framework/win32/Wnd.h"

// Control-bar styles, kept by the bar object; only the window-style part
// reaches the window.
enum : DWORD {
    CBRS_SIZE_DYNAMIC = 0x0004,
    CBRS_TOOLTIPS = 0x0010,
    CBRS_FLYBY = 0x0020,
    CBRS_BORDER_LEFT = 0x0100,
    CBRS_BORDER_TOP = 0x0200,
    CBRS_BORDER_RIGHT = 0x0400,
    CBRS_BORDER_BOTTOM = 0x0800,
    CBRS_ALIGN_LEFT = 0x1000,
    CBRS_ALIGN_TOP = 0x2000,
    CBRS_ALIGN_RIGHT = 0x4000,
    CBRS_ALIGN_BOTTOM = 0x8000,
    CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
    CBRS_ALL = 0x0040FFFF,
};
// Layout modes of CalcDynamicLayout.
enum : DWORD { LM_STRETCH = 0x01, LM_HORZ = 0x02, LM_MRUWIDTH = 0x04, LM_HORZDOCK = 0x08, LM_VERTDOCK = 0x10,
               LM_LENGTHY = 0x20, LM_COMMIT = 0x40 };
// Status pane styles.
enum : UINT { SBPS_NORMAL = 0x0000, SBPS_NOBORDERS = 0x0100, SBPS_POPOUT = 0x0200, SBPS_OWNERDRAW = 0x1000,
              SBPS_DISABLED = 0x04000000, SBPS_STRETCH = 0x08000000 };


class CControlBar : public CWnd {
public:
    DWORD GetBarStyle() const { return m_dwStyle; }
    virtual SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    virtual SIZE CalcDynamicLayout(int nLength, DWORD dwMode);
    // Refreshes the states of the bar's items from the command handlers.
    virtual void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) = 0;

protected:
    // Splits style into the bar's part (kept) and the window's part (returned).
    DWORD SplitStyle(DWORD dwStyle);
    DWORD m_dwStyle = 0;
};

class CToolBar : public CControlBar {
public:
    BOOL CreateEx(CWnd* pParent, DWORD dwCtrlStyle, DWORD dwStyle, RECT rcBorders, UINT nID);
    // Loads an RT_TOOLBAR resource and its bitmap, mapped to the system's
    // button colours.
    BOOL LoadToolBar(UINT nIDResource);
    BOOL SetButtonText(int nIndex, const std::string& text);
    std::string GetButtonText(int nIndex) const;
    UINT GetItemID(int nIndex) const;
    int GetCount() const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    void GetItemRect(int nIndex, RECT* pRect) const;
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The image size of the loaded toolbar resource.
    SIZE GetImageSize() const { return m_sizeImage; }
    HWND GetToolBarCtrl() const { return m_hWnd; }

    SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;

private:
    // The buttons' images: the control draws from it, so it lives as long as the bar.
    CScopedBitmap m_bmImageWell;
    SIZE m_sizeImage{0, 0};
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CWnd* pParent, DWORD dwStyle, UINT nID);
    // One pane per id; each pane's text is the id's string resource.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
    void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
    BOOL SetPaneText(int nIndex, const std::string& text, BOOL bUpdate = TRUE);
    std::string GetPaneText(int nIndex) const;
    int GetCount() const { return int(m_panes.size()); }
    // The pane rectangles as laid out in a bar of the given width.
    std::vector<int> ComputePartEdges(int cxClient) const;

    SIZE CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Pane {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxWidth = 0;
        std::string text;
    };
    void ApplyParts();
    void ApplyText(int nIndex);
    std::vector<Pane> m_panes;
};
