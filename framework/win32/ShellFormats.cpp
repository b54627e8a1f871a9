#include "framework/win32/ShellFormats.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "framework/base/Path.h"
#include "framework/win32/Handles.h"

namespace {
std::wstring Wide(const std::string& ansi)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), int(ansi.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), int(ansi.size()), wide.data(), length);
    return wide;
}

void AppendBytes(std::vector<BYTE>& block, const void* p, size_t count)
{
    const BYTE* bytes = static_cast<const BYTE*>(p);
    block.insert(block.end(), bytes, bytes + count);
}
}  // namespace

std::vector<BYTE> AfxMakeDropFiles(const std::vector<std::string>& paths)
{
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::vector<BYTE> block;
    AppendBytes(block, &header, sizeof header);
    for (const std::string& path : paths) {
        const std::wstring wide = Wide(path);
        AppendBytes(block, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    }
    const wchar_t end = L'\0';
    AppendBytes(block, &end, sizeof end);
    return block;
}

std::vector<BYTE> AfxMakeShellIdList(const std::string& folder, const std::vector<std::string>& names)
{
    const CScopedPidl parent(::ILCreateFromPathW(Wide(folder).c_str()));
    if (!parent) return {};
    std::vector<CScopedPidl> items;
    items.reserve(names.size());
    for (const std::string& name : names) {
        const std::wstring path = Wide(AddTrailingSeparator(folder) + name);
        CScopedPidl item(::ILCreateFromPathW(path.c_str()));
        if (!item) item.Reset(::SHSimpleIDListFromPath(path.c_str()));
        if (!item) return {};
        items.push_back(std::move(item));
    }

    // The count, the offsets of count + 1 lists, the folder's absolute list,
    // then each item's own id (the last of its absolute list), each list
    // ended by its zero terminator.
    const UINT count = UINT(items.size());
    std::vector<BYTE> block(sizeof(UINT) * (count + 2));
    std::vector<UINT> offsets;
    offsets.push_back(UINT(block.size()));
    AppendBytes(block, parent.Get(), ::ILGetSize(parent.Get()));
    for (const CScopedPidl& item : items) {
        offsets.push_back(UINT(block.size()));
        const auto* last = ::ILFindLastID(item.Get());
        AppendBytes(block, last, ::ILGetSize(last));
    }
    std::memcpy(block.data(), &count, sizeof count);
    std::memcpy(block.data() + sizeof(UINT), offsets.data(), offsets.size() * sizeof(UINT));
    return block;
}

CLIPFORMAT AfxShellIdListFormat() { return CLIPFORMAT(::RegisterClipboardFormatA("Shell IDList Array")); }
