#include "ui/FileDropTarget.h"

#include <shlobj.h>

#include <cstring>

#include "framework/win32/Wnd.h"

DROPEFFECT CFileDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point)
{
    (void)pWnd;
    (void)dwKeyState;
    (void)point;
    return IsOwnDrag(pDataObject) ? DROPEFFECT_NONE : DROPEFFECT_COPY;
}

DROPEFFECT CFileDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point)
{
    (void)pWnd;
    (void)dwKeyState;
    (void)point;
    return IsOwnDrag(pDataObject) ? DROPEFFECT_NONE : DROPEFFECT_COPY;
}

BOOL CFileDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point)
{
    (void)dropEffect;
    (void)point;
    if (IsOwnDrag(pDataObject)) return FALSE;  // the names collected last stay
    m_DroppedNames.clear();
    m_nDropCount = 0;

    // Only the first file-drop format the object offers.
    FORMATETC format{};
    bool found = false;
    pDataObject->BeginEnumFormats();
    while (!found && pDataObject->GetNextFormat(&format))
        found = format.cfFormat == CF_HDROP && pDataObject->IsDataAvailable(CF_HDROP, &format);
    std::vector<BYTE> block;
    if (!found || !pDataObject->GetData(CF_HDROP, block, &format)) return FALSE;

    std::vector<std::wstring> names;
    if (!ParseDropFiles(block, names)) return FALSE;
    for (std::wstring& name : names)
        if (name.size() <= kMaxNameChars) m_DroppedNames.push_back(std::move(name));
    m_nDropCount = int(m_DroppedNames.size());
    if (pWnd) pWnd->PostMessage(WM_ADD_DROPPED_FILES);
    return m_nDropCount > 0;
}

BOOL CFileDropTarget::ParseDropFiles(const std::vector<BYTE>& block, std::vector<std::wstring>& names)
{
    names.clear();
    DROPFILES header{};
    if (block.size() < sizeof header) return FALSE;
    std::memcpy(&header, block.data(), sizeof header);
    const size_t start = header.pFiles & ~DWORD(1);
    if (start < sizeof header || start > block.size()) return FALSE;

    // Names end with a zero character; an empty name (a second zero) ends
    // the list, so padding after it (global memory may be rounded up) is
    // never read as names.
    if (header.fWide) {
        const size_t count = (block.size() - start) / sizeof(wchar_t);
        std::wstring name;
        for (size_t i = 0; i < count; ++i) {
            wchar_t c;
            std::memcpy(&c, block.data() + start + i * sizeof c, sizeof c);
            if (c != L'\0') {
                name += c;
                continue;
            }
            if (name.empty()) break;
            names.push_back(std::move(name));
            name.clear();
        }
        return TRUE;
    }
    std::string name;
    for (size_t i = start; i < block.size(); ++i) {
        const char c = char(block[i]);
        if (c != '\0') {
            name += c;
            continue;
        }
        if (name.empty()) break;
        // Whole names are converted: a double-byte character must not be cut.
        const int length = ::MultiByteToWideChar(CP_ACP, 0, name.data(), int(name.size()), nullptr, 0);
        std::wstring wide(size_t(length), L'\0');
        if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, name.data(), int(name.size()), wide.data(), length);
        names.push_back(std::move(wide));
        name.clear();
    }
    return TRUE;
}

std::optional<std::string> CFileDropTarget::GetDroppedName(int i) const
{
    if (i < 0 || i >= m_nDropCount) return std::nullopt;
    const std::wstring& wide = m_DroppedNames[size_t(i)];
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), int(wide.size()), nullptr,
                                             0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string name(size_t(length), '\0');
    if (::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), int(wide.size()), name.data(), length,
                              nullptr, &usedDefault) != length ||
        usedDefault)
        return std::nullopt;
    return name;
}
