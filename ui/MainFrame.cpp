#include "ui/MainFrame.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"
#include "framework/win32/AfxRes.h"
#include "framework/win32/FileDialog.h"
#include "framework/win32/WinApp.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "ui/ContextMenu.h"
#include "ui/FolderBrowser.h"
#include "ui/Packwright32View.h"

namespace {
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_TOTALS, ID_INDICATOR_VERSION};

struct ButtonText {
    UINT nID;
    const char* text;
};
const ButtonText kButtonTexts[] = {
    {ID_EDIT_ADDFILES, "Add"}, {ID_EDIT_REMOVEFILES, "Remove"}, {ID_EDIT_EXTRACTFILES, "Extract"}};

const char* const kTextAddFailed =
    "One or more errors occured while trying to add files. These files have been skipped.";
const char* const kTextConfirmRemove =
    "Are you sure you want to delete these files? (Note: Only files inside the .VPP or references to the .VPP are "
    "deleted, not files you added from outside the .VPP!)";
const char* const kCaptionConfirm = "Confirmation";
const char* const kTextSaving = "Saving archive...";
// Most saves are over before a window could be read: the progress comes up
// only at the first entry written after this long.
const DWORD kSaveProgressDelayMs = 500;
const char* const kTitleExtractFolder = "Select destination folder";
const char* const kSettingLastFolder = "LastExtractionFolder";
}  // namespace

CMainFrame::CMainFrame()
{
    MapCommand(ID_EDIT_ADDFILES, [this] { OnAddFiles(); });
    MapCommand(ID_EDIT_REMOVEFILES, [this] { OnRemoveFiles(); });
    MapCommand(ID_EDIT_EXTRACTFILES, [this] { OnExtractFiles(); });
    MapCommand(ID_EDIT_SELECTALLFILES, [this] { OnSelectAll(); });
    MapUpdate(ID_EDIT_REMOVEFILES, [this](CCmdUI* ui) { OnUpdateSelectionCommand(ui); });
    MapUpdate(ID_EDIT_EXTRACTFILES, [this](CCmdUI* ui) { OnUpdateSelectionCommand(ui); });
    MapUpdate(ID_EDIT_SELECTALLFILES, [this](CCmdUI* ui) { OnUpdateSelectAll(ui); });
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    cs.cx = std::min(screenWidth, AfxScaleForScreen(780));
    cs.cy = std::min(screenHeight, AfxScaleForScreen(500));
    cs.x = (screenWidth - cs.cx) / 2;
    cs.y = (screenHeight - cs.cy) / 2;
    return TRUE;
}

int CMainFrame::OnCreate(CREATESTRUCTA* lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) return -1;

    // Creation of the bars is best effort: the frame works without them.
    const RECT noBorders{0, 0, 0, 0};
    if (m_wndToolBar.CreateEx(this, 0x1810,
                              WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY | CBRS_TOOLTIPS |
                                  CBRS_SIZE_DYNAMIC,
                              noBorders, AFX_IDW_TOOLBAR)) {
        m_wndToolBar.LoadToolBar(AfxChooseForScreen(IDR_MAINFRAME, IDR_TOOLBAR150, IDR_TOOLBAR200));
        m_wndToolBar.SetWindowText("Main toolbar");
        for (const ButtonText& button : kButtonTexts) {
            const int index = int(m_wndToolBar.SendMessage(TB_COMMANDTOINDEX, button.nID));
            if (index >= 0) m_wndToolBar.SetButtonText(index, button.text);
        }

        // Size the buttons for their texts.
        m_wndToolBar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
        m_wndToolBar.SendMessage(TB_AUTOSIZE);
        LONG largestWidth = 0;
        LONG largestHeight = 0;
        for (int i = m_wndToolBar.GetCount() - 1; i >= 0; --i) {
            if (m_wndToolBar.GetItemID(i) == ID_SEPARATOR) continue;
            m_wndToolBar.SetButtonStyle(i, m_wndToolBar.GetButtonStyle(i) | TBSTYLE_AUTOSIZE);
            RECT rect{};
            m_wndToolBar.GetItemRect(i, &rect);
            largestWidth = std::max(largestWidth, rect.right - rect.left);
            largestHeight = std::max(largestHeight, rect.bottom - rect.top);
        }
        m_wndToolBar.SetSizes(SIZE{std::max<LONG>(largestWidth, AfxScaleForScreen(29)),
                                   std::max<LONG>(largestHeight, AfxScaleForScreen(28))},
                              m_wndToolBar.GetImageSize());
        m_wndToolBar.CalcDynamicLayout(50, LM_HORZ);
        m_wndToolBar.CalcFixedLayout(FALSE, TRUE);
    }

    if (m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR)) {
        m_wndStatusBar.SetIndicators(kIndicators, int(std::size(kIndicators)));
        m_wndStatusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_STRETCH, AfxScaleForScreen(150));
        m_wndStatusBar.SetPaneInfo(1, 1, SBPS_STRETCH, AfxScaleForScreen(150));
        m_wndStatusBar.SetPaneInfo(2, 2, SBPS_NORMAL, AfxScaleForScreen(150));
        m_wndStatusBar.SetPaneText(2, kVersionText);
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    }
    RecalcLayout();
    return 0;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Back from another program: copies of entries opened there may have
    // changed. Asked after the activation has settled, not inside it.
    if (message == WM_ACTIVATEAPP && wParam)
        if (const CPackwright32View* view = GetListView()) view->PostMessage(WM_CHECK_OPENED_ENTRIES);
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

HMENU CMainFrame::BuildMenu()
{
    m_menu.LoadMenu(IDR_MAINFRAME);
    m_menu.AttachToolbarImages(MenuImagesForScreen());
    return m_menu.Detach();
}

CPackwright32View* CMainFrame::GetListView() const { return dynamic_cast<CPackwright32View*>(GetActiveView()); }

CPackwright32Doc* CMainFrame::GetArchive() const { return dynamic_cast<CPackwright32Doc*>(GetActiveDocument()); }

void CMainFrame::UpdateStatusTotals()
{
    const CPackwright32Doc* doc = GetArchive();
    if (!doc || !m_wndStatusBar.m_hWnd) return;
    m_wndStatusBar.SetPaneText(1, FormatString("%i files, %i bytes", doc->GetEntryCount(), doc->m_nTotalSize));
}

const CommandAvailability& CMainFrame::RefreshCommandAvailability()
{
    RefreshState state;
    if (const CPackwright32View* view = GetListView()) {
        state.commands.nRows = view->GetListCtrl().GetItemCount();
        state.commands.nSelected = view->GetSelectedCount();
    }
    if (const CPackwright32Doc* doc = GetArchive()) {
        state.bHasArchive = true;
        state.nFileCount = doc->GetEntryCount();
        state.nTotalSize = doc->m_nTotalSize;
    }
    // Unchanged state: the answer and the totals pane are still current.
    if (m_lastRefresh == state) return m_available;
    m_lastRefresh = state;
    m_available = DecideCommandAvailability(state.commands);
    UpdateStatusTotals();
    return m_available;
}

void CMainFrame::OnUpdateSelectionCommand(CCmdUI* pCmdUI)
{
    const CommandAvailability& available = RefreshCommandAvailability();
    pCmdUI->Enable(pCmdUI->m_nID == ID_EDIT_REMOVEFILES ? available.bRemove : available.bExtract);
}

void CMainFrame::OnUpdateSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(RefreshCommandAvailability().bSelectAll); }

void CMainFrame::OnSelectAll()
{
    const CPackwright32View* view = GetListView();
    if (!view) return;
    // One call for all rows: the same states as row by row, but row by row
    // takes seconds for 65,536 rows (each one a change notification).
    view->SendMessage(WM_SETREDRAW, FALSE);
    view->GetListCtrl().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    view->SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(view->m_hWnd, nullptr, TRUE);
}

void CMainFrame::OnAddFiles()
{
    CPackwright32Doc* doc = GetArchive();
    if (!doc) return;
    CFileDialog dialog(TRUE, "*.*", nullptr, OFN_ALLOWMULTISELECT | OFN_ENABLESIZING, "All files (*.*)|*.*||", this);
    dialog.SetFileBufferSize(0xFFFFF);
    if (dialog.DoModal() != IDOK) return;
    std::string errors;
    for (const std::string& path : dialog.GetPathNames()) {
        const AddResult result = doc->AddFile(path);
        if (!Succeeded(result)) AppendErrorDetail(errors, path, CPackwright32Doc::GetAddResultText(result));
    }
    if (!errors.empty()) AfxShowErrorDetails(kTextAddFailed, errors);
    doc->UpdateAllViews(nullptr);
    UpdateStatusTotals();
}

void CMainFrame::OnRemoveFiles()
{
    CPackwright32Doc* doc = GetArchive();
    const CPackwright32View* view = GetListView();
    if (!doc || !view) return;
    if (AfxMessageBox(kTextConfirmRemove, afx::mbYesNo, kCaptionConfirm) != afx::idYes) return;
    // The names of the selected rows, removed in one pass: row by row, each
    // removal would move the rest of the table (minutes for 65,536 rows).
    doc->RemoveFiles(view->GetSelectedNames());
    doc->UpdateAllViews(nullptr);
    UpdateStatusTotals();
}

void CMainFrame::OnExtractFiles()
{
    CPackwright32Doc* doc = GetArchive();
    const CPackwright32View* view = GetListView();
    if (!doc || !view) return;
    CFolderBrowser browser(kTitleExtractFolder, GetSetting(kSettingLastFolder, ""), 0, m_hWnd);
    if (browser.Browse() != IDOK) return;
    const std::string folder = browser.GetSelectedFolder();
    // Remembered before anything is written, even if every entry then fails.
    SetSetting(kSettingLastFolder, folder);

    // The names of the selected rows, extracted in one run that opens the
    // archive once and holds it alone meanwhile.
    const std::vector<std::string> names = view->GetSelectedNames();
    const auto total = static_cast<int32_t>(names.size());
    CProgressDisplay* progress = GetProgressDisplay();
    std::vector<ExtractResult> results;
    {
        // Taken down also when a file error ends the command.
        struct Shown {
            CProgressDisplay* p;
            ~Shown()
            {
                if (p) p->HideProgress();
            }
        } shown{progress};
        if (progress) progress->ShowProgress(kTextExtracting);
        // The detail line names the entry finished last.
        results = doc->ExtractFiles(names, folder, CFile::shareExclusive, [&](size_t index) {
            if (progress) progress->SetProgress(index ? names[index - 1] : std::string(), int32_t(index), total);
        });
        if (progress) progress->SetProgress("", total, total);
    }
    std::string errors;
    for (size_t i = 0; i < names.size(); ++i)
        if (results[i] != ExtractResult::ok)
            AppendErrorDetail(errors, names[i], CPackwright32Doc::GetExtractResultText(results[i]));
    if (!errors.empty()) AfxShowErrorDetails(kTextExtractFailed, errors);
}

BOOL CMainFrame::SaveDocument(CDocument* pDoc, const std::string& pathName)
{
    auto* doc = dynamic_cast<CPackwright32Doc*>(pDoc);
    CProgressDisplay* progress = GetProgressDisplay();
    if (!doc || !progress) return CFrameWnd::SaveDocument(pDoc, pathName);
    // Counted from here: waiting for another writer is part of the wait.
    const DWORD start = ::GetTickCount();
    bool shown = false;
    bool over = false;  // a message came: the window stays down
    auto takeDown = [&] {
        if (shown) progress->HideProgress();
        shown = false;
    };
    // Whatever the save shows (a failure, the list of entries that could
    // not be copied, a warning) comes after the window is down; and it goes
    // however the save ends.
    struct Watch {
        CPackwright32Doc* doc;
        ReportPrelude previous;
        std::function<void()> end;
        ~Watch()
        {
            doc->SetSaveProgress({});
            AfxSetReportPrelude(std::move(previous));
            end();
        }
    } watch{doc, {}, takeDown};
    watch.previous = AfxSetReportPrelude([&] {
        over = true;
        takeDown();
        if (watch.previous) watch.previous();
    });
    doc->SetSaveProgress([&](const std::string& name, int32_t done, int32_t total) {
        if (over) return;
        if (!shown) {
            if (done == total || ::GetTickCount() - start < kSaveProgressDelayMs) return;
            progress->ShowProgress(kTextSaving);
            shown = true;
        }
        // The detail line names the entry being written and counts it.
        progress->SetProgress(name.empty() ? name : FormatString("%s (%i of %i)", name.c_str(), done + 1, total),
                              done, total);
    });
    return CFrameWnd::SaveDocument(pDoc, pathName);
}

CProgressDisplay* CMainFrame::GetProgressDisplay() const
{
    return m_pProgressDisplay ? m_pProgressDisplay : dynamic_cast<CProgressDisplay*>(AfxGetApp());
}
