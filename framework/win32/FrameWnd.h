#pragma once
// The top-level frame: menu, accelerators, icon and title from one resource
// id, control bars laid out around the view, the status-bar message pane,
// tooltips, and command routing frame -> view -> document -> application.

#include <windows.h>

#include <functional>
#include <string>

#include "framework/win32/ControlBar.h"
#include "framework/win32/View.h"
#include "framework/win32/Wnd.h"

class CSingleDocTemplate;

// Frame styles, in the frame class's own bits of the style word: add the
// document's title to the caption, and put it before the application's.
// PreCreateWindow adds the prefix flag to FWS_ADDTOTITLE; a frame that
// replaces the whole style word drops it.
enum : DWORD { FWS_ADDTOTITLE = 0x00008000, FWS_PREFIXTITLE = 0x00004000 };

// What a new frame needs to create its view.
struct CCreateContext {
    CDocument* m_pCurrentDoc = nullptr;
    std::function<CView*()> m_newView;
};

class CFrameWnd : public CWnd {
public:
    CFrameWnd();

    // Creates the frame from resource nIDResource: title (the string's first
    // field), menu, accelerators and icon.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParent, CCreateContext* pContext);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* lpCreateStruct) override;
    virtual BOOL OnCreateClient(CREATESTRUCTA* lpcs, CCreateContext* pContext);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe = false) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void PostNcDestroy() override { delete this; }

    // Places the control bars and the view in the client area.
    virtual void RecalcLayout();
    // Writes pDoc to pathName for the template's Save, Save As and the save
    // before a close: a frame that shows how a long save goes does it here.
    virtual BOOL SaveDocument(CDocument* pDoc, const std::string& pathName) { return pDoc->OnSaveDocument(pathName); }
    // Sends the first update to the view and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // Refreshes the caption and the control bars' command states.
    void OnIdleUpdateCmdUI();
    void OnUpdateFrameTitle();

    CView* GetActiveView() const { return m_pViewActive; }
    CDocument* GetActiveDocument() const;
    // The message pane's text: a string id's prompt (the part before the
    // newline), or a text.
    void SetMessageText(UINT nID);
    void SetMessageText(const std::string& text);
    std::string GetTitle() const { return m_strTitle; }
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;

protected:
    void OnInitMenuPopup(HMENU hMenu);
    void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu);
    BOOL OnToolTipText(NMHDR* header, LRESULT* pResult);
    void OnDropFiles(HDROP hDrop);
    void OnClose();

    std::string m_strTitle;
    CView* m_pViewActive = nullptr;
    UINT m_nIDResource = 0;
    char m_szTipText[256] = {};
    wchar_t m_wszTipText[256] = {};
};
