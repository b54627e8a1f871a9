// Files dropped on the list, through the drop target's COM interface with
// real file-drop data objects, as the shell hands them over; and names of
// double-byte code pages through the window's commands and dialogs.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestUtil.h"
#include "tests/win/GuiTestUtil.h"
#include "ui/Packwright32View.h"

using guitest::AppSession;
using guitest::MakeArchive;
using guitest::PumpIdle;
using testutil::TempDir;

namespace {

// A data object holding global-memory blocks, one per clipboard format.
class TestDataObject : public IDataObject {
public:
    void Add(CLIPFORMAT cf, std::vector<BYTE> bytes) { m_data.push_back({cf, std::move(bytes)}); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the test's stack.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        const Block* block = Find(format);
        if (!block) return DV_E_FORMATETC;
        const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, block->bytes.size());
        std::memcpy(::GlobalLock(memory), block->bytes.data(), block->bytes.size());
        ::GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        return Find(format) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override
    {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        std::vector<FORMATETC> formats;
        for (const Block& block : m_data)
            formats.push_back(FORMATETC{block.cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return ::SHCreateStdEnumFmtEtc(UINT(formats.size()), formats.data(), out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    struct Block {
        CLIPFORMAT cf;
        std::vector<BYTE> bytes;
    };
    const Block* Find(const FORMATETC* format) const
    {
        if (!(format->tymed & TYMED_HGLOBAL)) return nullptr;
        for (const Block& block : m_data)
            if (block.cf == format->cfFormat) return &block;
        return nullptr;
    }
    std::vector<Block> m_data;
};

// A DROPFILES block: header, names each ended by a zero, one more zero.
template <typename Char>
std::vector<BYTE> DropFiles(const std::vector<std::basic_string<Char>>& names)
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = sizeof(Char) == 2;
    std::vector<BYTE> block(sizeof header);
    std::memcpy(block.data(), &header, sizeof header);
    auto append = [&](const Char* p, size_t count) {
        const BYTE* bytes = reinterpret_cast<const BYTE*>(p);
        block.insert(block.end(), bytes, bytes + count * sizeof(Char));
    };
    for (const auto& name : names) append(name.c_str(), name.size() + 1);
    const Char zero = 0;
    append(&zero, 1);
    return block;
}

std::wstring Wide(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(size_t(::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), int(ansi.size()), wide.data(), int(wide.size()))));
    return wide;
}

struct DropResult {
    DWORD enterEffect = 0, overEffect = 0, dropEffect = 0;
    HRESULT hr = E_FAIL;
};

// A drag over the list that ends in a drop, as OLE calls the target.
DropResult DragAndDrop(IDropTarget* target, IDataObject* data)
{
    const POINTL pt{10, 10};
    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DropResult result;
    result.enterEffect = allowed;
    target->DragEnter(data, MK_LBUTTON, pt, &result.enterEffect);
    result.overEffect = allowed;
    target->DragOver(MK_LBUTTON | MK_SHIFT, pt, &result.overEffect);
    result.dropEffect = allowed;
    result.hr = target->Drop(data, 0, pt, &result.dropEffect);
    return result;
}

std::vector<std::string> EntryNames(const CPackwright32Doc& doc)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < doc.m_nFileCount; ++i) names.push_back(doc.m_Entries[i].m_strName);
    return names;
}

}  // namespace

TEST(FileDrop, DroppedFilesAreAddedAfterTheDropInListOrderAndEverythingElseIsSkippedSilently)
{
    TempDir dir;
    const std::string archive = MakeArchive(dir, "drop.vpp", {10, 11});
    AppSession session({archive});
    ASSERT_TRUE(session.started);
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);
    auto* view = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(list));
    ASSERT_NE(view, nullptr);
    IDropTarget* target = view->m_dropTarget.GetInterface();
    // The list's window is registered with the system for drops.
    EXPECT_EQ(::RegisterDragDrop(list, target), DRAGDROP_E_ALREADYREGISTERED);
    auto* doc = view->GetDocument();

    testutil::WriteFileText(dir / "new1.txt", "one");
    testutil::WriteFileText(dir / "new2.txt", "two");
    testutil::WriteFileText(dir / "drop0.dat", std::string(99, 'r'));  // replaces entry drop0.dat
    ::CreateDirectoryA((dir / "folder").c_str(), nullptr);
    // A name too long for the ANSI file functions is skipped, never cut: a
    // file of the cut name exists and must not come in.
    const std::string longPath = dir / std::string(300 - dir.Path().size() - 1, 'n');
    testutil::WriteFileText(longPath.substr(0, 259), "cut");

    {
        TestDataObject data;
        data.Add(CF_HDROP, DropFiles<wchar_t>({Wide(dir / "new1.txt"), Wide(dir / "drop0.dat"), Wide(dir / "folder"),
                                               Wide(longPath), Wide(dir / "new2.txt")}));
        const DropResult result = DragAndDrop(target, &data);
        EXPECT_EQ(result.hr, S_OK);
        EXPECT_EQ(result.enterEffect, DWORD(DROPEFFECT_COPY));
        EXPECT_EQ(result.overEffect, DWORD(DROPEFFECT_COPY));
        EXPECT_EQ(result.dropEffect, DWORD(DROPEFFECT_COPY));
        EXPECT_EQ(view->m_dropTarget.GetDroppedCount(), 4);
        // Nothing is added while the drop is under way.
        EXPECT_EQ(doc->m_nFileCount, 2);
    }
    PumpIdle();
    EXPECT_EQ(EntryNames(*doc), (std::vector<std::string>{"drop0.dat", "drop1.dat", "new1.txt", "new2.txt"}));
    EXPECT_EQ(doc->m_Entries[0].m_nSize, 99);
    EXPECT_EQ(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 4);

    // ANSI names above 127 come in under the name the wide form gives: the
    // wide drop of the same file replaces the entry.
    const std::string accented = dir / "caf\xE9.txt";
    testutil::WriteFileText(accented, "ansi");
    {
        TestDataObject data;
        data.Add(CF_HDROP, DropFiles<char>({accented}));
        EXPECT_EQ(DragAndDrop(target, &data).dropEffect, DWORD(DROPEFFECT_COPY));
    }
    PumpIdle();
    ASSERT_EQ(doc->m_nFileCount, 5);
    EXPECT_EQ(doc->m_Entries[4].m_strName, "caf\xE9.txt");
    {
        TestDataObject data;
        data.Add(CF_HDROP, DropFiles<wchar_t>({Wide(dir / "caf") + L"\u00E9.txt"}));
        DragAndDrop(target, &data);
    }
    PumpIdle();
    EXPECT_EQ(doc->m_nFileCount, 5);

    // Text only: the copy cursor while dragging, but nothing taken and the
    // list not rebuilt (a rebuild would clear the selection).
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    ::SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    {
        TestDataObject data;
        const char text[] = "C:\\not\\a\\file.txt";
        data.Add(CF_TEXT, std::vector<BYTE>(text, text + sizeof text));
        const DropResult result = DragAndDrop(target, &data);
        EXPECT_EQ(result.enterEffect, DWORD(DROPEFFECT_COPY));
        EXPECT_EQ(result.dropEffect, DWORD(DROPEFFECT_NONE));
        EXPECT_EQ(view->m_dropTarget.GetDroppedCount(), 0);
    }
    PumpIdle();
    EXPECT_EQ(doc->m_nFileCount, 5);
    EXPECT_EQ(::SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED), 1);
}

namespace {
// Every modal dialog of this process while alive, handed to onDialog on a
// watcher thread once each: under code page 932 Wine's own dialogs have
// Japanese captions, so they are told apart by what they hold.
class DialogWatcher {
public:
    explicit DialogWatcher(std::function<void(HWND)> onDialog)
        : m_onDialog(std::move(onDialog)), m_thread([this] { Watch(); })
    {
    }
    ~DialogWatcher()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    };
    static BOOL CALLBACK Collect(HWND hWnd, LPARAM data)
    {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hWnd, &pid);
        char cls[16] = {};
        ::GetClassNameA(hWnd, cls, sizeof cls);
        if (pid == search->pid && ::IsWindowVisible(hWnd) && lstrcmpA(cls, "#32770") == 0) search->found.push_back(hWnd);
        return TRUE;
    }
    void Watch()
    {
        std::vector<HWND> seen;
        while (!m_stop) {
            Search search{::GetCurrentProcessId(), {}};
            ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
            for (HWND hWnd : search.found) {
                if (std::find(seen.begin(), seen.end(), hWnd) != seen.end()) continue;
                seen.push_back(hWnd);
                ::Sleep(300);  // let it finish its start-up
                m_onDialog(hWnd);
            }
            ::Sleep(50);
        }
    }
    std::function<void(HWND)> m_onDialog;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

std::vector<std::string> NameColumn(HWND list)
{
    std::vector<std::string> texts;
    const int count = int(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[512] = {};
        LVITEMA item{};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        texts.push_back(text);
    }
    return texts;
}

// By the ANSI file functions: std::filesystem converts names by another rule.
bool AnsiPathExists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool HasChildOfClass(HWND hDlg, const char* cls)
{
    return ::FindWindowExA(hDlg, nullptr, cls, nullptr) != nullptr;
}
}  // namespace

// Japanese Windows: the second byte of 表 (0x95 0x5C), ソ (0x83 0x5C) and
// 能 (0x94 0x5C) is the backslash's. Run by tests/win/code_page_932.sh.
TEST(CodePage932, NamesWithABackslashTrailByteStayWholeThroughExtractSortAddAndDrop)
{
    if (::GetACP() != 932) {
        ASSERT_EQ(std::getenv("PACKWRIGHT_EXPECT_CP932"), nullptr) << "code page " << ::GetACP();
        GTEST_SKIP() << "needs code page 932: tests/win/code_page_932.sh";
    }
    const std::string hyo = "\x95\x5C", so = "\x83\x5C", nou = "\x94\x5C";
    const std::string a2 = "\x83\x41" "2.txt", di1 = "\x83\x61" "1.txt";  // ア2.txt, ヂ1.txt
    TempDir dir;
    const std::string source = dir / ("src" + hyo);  // a folder whose name ends in 0x5C
    ASSERT_TRUE(::CreateDirectoryA(source.c_str(), nullptr));
    const std::string archive = dir / "kanji.vpp";
    {
        CPackwright32Doc doc;
        doc.OnNewDocument();
        for (const std::string& name : {hyo + ".txt", a2, di1}) {
            testutil::WriteFileText(dir / name, "old " + name);
            ASSERT_TRUE(Succeeded(doc.AddFile(dir / name))) << name;
        }
        ASSERT_TRUE(doc.OnSaveDocument(archive));
    }
    // The shell's browser selects a preset folder only on drive C: under Wine.
    const std::string target = "C:\\pw-932-" + hyo;
    ::CreateDirectoryA(target.c_str(), nullptr);

    AppSession session({archive});
    ASSERT_TRUE(session.started);
    ASSERT_TRUE(SetSetting("LastExtractionFolder", target));
    const HWND list = ::GetDlgItem(session.MainWnd(), AFX_IDW_PANE_FIRST);
    auto* view = dynamic_cast<CPackwright32View*>(CWnd::FromHandlePermanent(list));
    ASSERT_NE(view, nullptr);
    auto* doc = view->GetDocument();
    std::vector<std::string> unexpected;
    std::mutex mutex;
    std::string fileNames;  // what the file dialog gets typed in
    DialogWatcher watcher([&](HWND hDlg) {
        if (!::GetWindow(hDlg, GW_CHILD)) return;  // no controls: none of the commands' dialogs
        if (HasChildOfClass(hDlg, "SysTreeView32") || ::GetDlgItem(hDlg, cmb13)) {
            std::string typed;
            {
                std::lock_guard<std::mutex> lock(mutex);
                typed = fileNames;
            }
            if (!typed.empty()) ::SetDlgItemTextA(hDlg, cmb13, typed.c_str());
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return;
        }
        const HWND details = ::GetDlgItem(hDlg, IDC_ERROR_DETAILS);
        char text[2048] = {};
        if (details) ::GetWindowTextA(details, text, sizeof text);
        {
            std::lock_guard<std::mutex> lock(mutex);
            unexpected.push_back(details ? text : guitest::DialogText(hDlg));
        }
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });

    // Every saved entry lands inside the chosen folder under its own name.
    for (int i = 0; i < 3; ++i) {
        LVITEMA state{};
        state.stateMask = state.state = LVIS_SELECTED;
        ::SendMessageA(list, LVM_SETITEMSTATE, WPARAM(i), reinterpret_cast<LPARAM>(&state));
    }
    ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_EDIT_EXTRACTFILES, 0), 0);
    PumpIdle();
    for (const std::string& name : {hyo + ".txt", a2, di1}) {
        EXPECT_TRUE(AnsiPathExists(target + "\\" + name)) << name;
        EXPECT_FALSE(AnsiPathExists(target + name)) << "beside the folder: " << name;
        ::DeleteFileA((target + "\\" + name).c_str());
    }
    ::RemoveDirectoryA(target.c_str());

    // By name, as the runtime compares multibyte text: ア (0x83 0x41) before
    // ヂ (0x83 0x61), which folding bytes would take for the same letter.
    const HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    RECT rect{};
    ::SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
    const LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageA(header, WM_LBUTTONUP, 0, point);
    PumpIdle();
    EXPECT_EQ(NameColumn(list), (std::vector<std::string>{a2, di1, hyo + ".txt"}));

    // Two files chosen at once in a folder whose name ends in 0x5C: 表.txt
    // replaces its entry, ソ.txt comes in whole.
    testutil::WriteFileText(source + "\\" + hyo + ".txt", "new");
    testutil::WriteFileText(source + "\\" + so + ".txt", "so");
    char current[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof current, current);
    ::SetCurrentDirectoryA(source.c_str());
    {
        std::lock_guard<std::mutex> lock(mutex);
        fileNames = "\"" + hyo + ".txt\" \"" + so + ".txt\"";
    }
    ::SendMessageA(session.MainWnd(), WM_COMMAND, MAKEWPARAM(ID_EDIT_ADDFILES, 0), 0);
    PumpIdle();
    ::SetCurrentDirectoryA(current);

    // A dropped file whose name holds 0x5C.
    testutil::WriteFileText(source + "\\" + nou + ".txt", "nou");
    {
        TestDataObject data;
        data.Add(CF_HDROP, DropFiles<wchar_t>({Wide(source + "\\" + nou + ".txt")}));
        DragAndDrop(view->m_dropTarget.GetInterface(), &data);
    }
    PumpIdle();
    EXPECT_EQ(EntryNames(*doc), (std::vector<std::string>{hyo + ".txt", a2, di1, so + ".txt", nou + ".txt"}));
    EXPECT_EQ(doc->m_Entries[0].m_nSize, 3);
    EXPECT_EQ(NameColumn(list).size(), 5u);
    EXPECT_EQ(unexpected, std::vector<std::string>{});
    for (const std::string& name : {hyo, so, nou}) ::DeleteFileA((source + "\\" + name + ".txt").c_str());
    ::RemoveDirectoryA(source.c_str());
}
