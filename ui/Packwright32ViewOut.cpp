// Entries out of the list: opened in other programs and put back, dragged
// out as files, and the context menu of the rows.

#include "ui/Packwright32View.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

#include "core/Packwright32Doc.h"
#include "framework/base/CodePage.h"
#include "framework/base/Path.h"
#include "framework/base/Report.h"
#include "framework/win32/Handles.h"
#include "res/resource.h"
#include "ui/CommandAvailability.h"
#include "ui/ContextMenu.h"
#include "ui/EntryDataSource.h"
#include "ui/MainFrame.h"

namespace {
std::string SystemMessage(DWORD error)
{
    char text[1024] = {};
    const DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                                          0, text, sizeof text, nullptr);
    std::string message = length ? std::string(text, length) : std::to_string(error);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

// Whether opening a file of name's type runs it: a program, a script, a
// shortcut. The system's list where it has one, and the usual types.
bool RunsWhenOpened(const std::string& name)
{
    const size_t dot = AnsiFindLast(name, ".");
    if (dot == std::string::npos) return false;
    const std::string extension = AnsiToLower(name.substr(dot));
    static const char* const kRunning[] = {".exe", ".com", ".bat", ".cmd", ".scr", ".pif", ".lnk", ".url",
                                           ".vbs", ".vbe", ".js",  ".jse", ".wsf", ".wsh", ".msi", ".msp",
                                           ".reg", ".hta", ".cpl", ".ps1", ".jar", ".inf", ".application"};
    for (const char* running : kRunning)
        if (extension == running) return true;
    std::wstring wide(extension.begin(), extension.end());
    return ::AssocIsDangerous(wide.c_str()) != FALSE;
}

// Opens path with the program of its type; FALSE with the reason when it fails.
BOOL ShellOpen(HWND hOwner, const std::string& path, std::string& reason)
{
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = hOwner;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExA(&info)) return TRUE;
    DWORD error = ::GetLastError();
    if (error == ERROR_NO_ASSOCIATION) {
        // No program for the type: Windows asks which one.
        info.fMask = 0;
        info.lpVerb = "openas";
        if (::ShellExecuteExA(&info)) return TRUE;
        if (::GetLastError() == ERROR_CANCELLED) return TRUE;  // the user said no
    }
    reason = SystemMessage(error);
    // Some system texts name the file as an insert.
    for (size_t at = reason.find("%1"); at != std::string::npos; at = reason.find("%1", at + path.size()))
        reason.replace(at, 2, path);
    return FALSE;
}
}  // namespace

CPackwright32View::CPackwright32View()
{
    MapCommand(ID_EDIT_OPENENTRY, [this] { OnOpenEntry(); });
    MapCommand(ID_EDIT_QUICKVIEW, [this] { OnQuickView(); });
    MapUpdate(ID_EDIT_OPENENTRY, [this](CCmdUI* ui) {
        const CommandState state{GetListCtrl().GetItemCount(), GetSelectedCount()};
        ui->Enable(DecideCommandAvailability(state).bOpen);
    });
}

CProgressDisplay* CPackwright32View::GetProgressDisplay() const
{
    const auto* frame = dynamic_cast<const CMainFrame*>(GetParent());
    return frame ? frame->GetProgressDisplay() : nullptr;
}

void CPackwright32View::OnOpenEntry()
{
    CPackwright32Doc* doc = GetDocument();
    const std::vector<std::string> names = GetSelectedNames();
    if (!doc || names.size() != 1) return;
    const std::string& name = names[0];
    const int32_t index = doc->FindEntry(name);
    if (index < 0) return;
    const VPPEntry* entry = &doc->GetEntry(index);
    // A program from an archive is not started by a double click alone.
    if (RunsWhenOpened(name) &&
        AfxMessageBox(FormatString(AfxLoadString(IDS_OPEN_RUNS).c_str(), name.c_str()),
                      afx::mbYesNo | afx::mbIconWarning | MB_DEFBUTTON2) != afx::idYes)
        return;

    std::string path;
    std::string reason;
    if (!entry->m_bInVPP) {
        path = entry->m_strFilePath;  // an outside file is itself the entry's data
    } else {
        // An entry opened before opens the same copy: extracting anew would
        // overwrite changes not yet put back.
        path = m_opened.Find(name);
        if (path.empty() || ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            const std::string folder = m_tempFolder.MakeSubFolder("open");
            const ExtractResult result = folder.empty() ? ExtractResult::cannotCreate : doc->ExtractFile(name, folder);
            if (result != ExtractResult::ok) {
                AfxMessageBox(FormatString(AfxLoadString(IDS_OPEN_FAILED).c_str(), name.c_str(),
                                           CPackwright32Doc::GetExtractResultText(result).c_str()),
                              afx::mbIconError);
                return;
            }
            path = AddTrailingSeparator(folder) + name;
            m_opened.Add(name, path);
        }
    }
    if (!ShellOpen(::GetAncestor(m_hWnd, GA_ROOT), path, reason))
        AfxMessageBox(FormatString(AfxLoadString(IDS_OPEN_FAILED).c_str(), path.c_str(), reason.c_str()),
                      afx::mbIconError);
}

void CPackwright32View::CheckOpenedEntries()
{
    CPackwright32Doc* doc = GetDocument();
    // The question is modal: an activation while it is up asks nothing more.
    if (!doc || m_bCheckingOpened) return;
    struct Checking {
        BOOL& b;
        ~Checking() { b = FALSE; }
    } checking{m_bCheckingOpened};
    m_bCheckingOpened = TRUE;

    bool added = false;
    for (const COpenedEntries::Copy& copy : m_opened.TakeChanged()) {
        if (AfxMessageBox(FormatString(AfxLoadString(IDS_PUTBACK_QUESTION).c_str(), copy.name.c_str()),
                          afx::mbYesNo | afx::mbIconQuestion) != afx::idYes)
            continue;
        // The copy becomes the entry's data (an outside file until saved).
        const AddResult result = doc->AddFile(copy.path);
        if (!Succeeded(result)) {
            m_opened.Unsee(copy.path);  // still held by its program, say: asked again next time
            AfxMessageBox(FormatString(AfxLoadString(IDS_PUTBACK_FAILED).c_str(), copy.name.c_str(),
                                       CPackwright32Doc::GetAddResultText(result).c_str()),
                          afx::mbIconError);
            continue;
        }
        added = true;
    }
    if (added) doc->UpdateAllViews(nullptr);
}

void CPackwright32View::OnBeginDrag()
{
    CPackwright32Doc* doc = GetDocument();
    const std::vector<std::string> names = GetSelectedNames();
    if (!doc || names.empty()) return;
    auto* source = new CEntryDataSource(doc, names, m_tempFolder, GetProgressDisplay());
    const CScopedComPtr<IDataObject> hold = CScopedComPtr<IDataObject>::AddRefOf(source);
    if (source->HasFiles()) {
        m_dropTarget.SetOwnDrag(source);
        // The files are the program's temporary copies: a target may as well
        // move them (a folder on the same drive takes a move by default), and
        // the archive's entries stay whatever the target did.
        source->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
        m_dropTarget.SetOwnDrag(nullptr);
        // A target may keep the object: it extracts nothing from now on.
        source->Disconnect();
        if (!source->IsExtracted()) return;  // cancelled, or nothing was asked for
    }
    if (!source->GetErrors().empty()) AfxShowErrorDetails(AfxLoadString(IDS_DRAG_FAILED), source->GetErrors());
}

void CPackwright32View::OnContextMenu(POINT screenPoint)
{
    if (screenPoint.x == -1 && screenPoint.y == -1) {
        // From the keyboard: below the focused row's name, inside the list.
        const CListCtrl list = GetListCtrl();
        int row = list.GetNextItem(-1, LVNI_FOCUSED);
        if (row < 0) row = list.GetNextItem(-1, LVNI_SELECTED);
        RECT client{};
        ::GetClientRect(m_hWnd, &client);
        const int inset = AfxScaleForScreen(8);
        POINT point{client.left + inset, client.top + inset};
        RECT rect{};
        rect.left = LVIR_LABEL;
        if (row >= 0 && SendMessage(LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rect)))
            point = POINT{rect.left + inset, rect.bottom};
        point.x = std::clamp(point.x, client.left, std::max(client.left, client.right - 1));
        point.y = std::clamp(point.y, client.top, std::max(client.top, client.bottom - 1));
        ::ClientToScreen(m_hWnd, &point);
        screenPoint = point;
    }
    TrackListContextMenu(::GetAncestor(m_hWnd, GA_ROOT), screenPoint);
}
