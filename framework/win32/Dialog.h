#pragma once
// Dialogs from templates in the program's resources. A modal dialog runs its
// own message loop inside DoModal with its owner disabled; a modeless one is
// made by Create and lives until it is destroyed. Either way the dialog's
// window is subclassed by the framework, so its messages become the same
// virtual calls as any other window's.

#include <windows.h>

#include "framework/win32/Wnd.h"

class CDialog;

// One pass of DoDataExchange: binding controls to members (and, for a
// dialog that needs it, values in either direction).
class CDataExchange {
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CDialog* m_pDlgWnd;
};

// Binds control nIDC of the dialog to rControl the first time it is called.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    // The owner is pParentWnd, or the application's main window when none is given.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when the window could not be made.
    virtual INT_PTR DoModal();
    // Makes the dialog modeless (hidden unless its template says visible).
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal dialog with nResult; destroys a modeless one.
    void EndDialog(int nResult);

    // Runs DoDataExchange: bSaveAndValidate TRUE takes the controls' values.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT m_nIDHelp = 0;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) { (void)pDX; }
    // The window and its controls exist; binds the controls. TRUE gives the
    // focus to the first tab stop.
    virtual BOOL OnInitDialog();
    // The framework's OK and cancel handling: IDOK (Enter on an OK default
    // button) and IDCANCEL (the cancel button, Escape, the close box).
    virtual void OnOK();
    virtual void OnCancel();

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    HWND CreateFromTemplate(UINT nIDTemplate, HWND hOwner);
    void RunModalLoop();
    static INT_PTR CALLBACK StaticDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    BOOL m_bModal = FALSE;
    BOOL m_bEndModal = FALSE;
    INT_PTR m_nModalResult = -1;
};
