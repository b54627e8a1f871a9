// Files dropped on the list, through the drop target's COM interface with
// real file-drop data objects, as the shell hands them over.

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/Packwright32Doc.h"
#include "framework/win32/AfxRes.h"
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
