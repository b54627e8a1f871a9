// Menu images from toolbar resources: which command gets which image, the
// bitmap in the current button colours, and the disabled (embossed) look.

#include "ui/menu/BitmapMenu.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "framework/win32/AfxRes.h"

namespace {
// The words of a toolbar resource: version, image width and height, count,
// then the command ids, one per position (0 a separator). The resource is
// read directly: no toolbar control is needed for it.
const WORD* ReadToolbar(UINT nIDToolBar)
{
    const HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDToolBar & 0xFFFF), MAKEINTRESOURCEA(AFX_RT_TOOLBAR));
    const HGLOBAL hGlobal = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const auto* words = hGlobal ? static_cast<const WORD*>(::LockResource(hGlobal)) : nullptr;
    const size_t size = hRes ? ::SizeofResource(hInst, hRes) / sizeof(WORD) : 0;
    return words && size >= 4 && size - 4 >= words[3] ? words : nullptr;
}

std::optional<std::vector<WORD>> ReadToolbarIds(UINT nIDToolBar)
{
    const WORD* words = ReadToolbar(nIDToolBar);
    if (!words) return std::nullopt;
    return std::vector<WORD>(words + 4, words + 4 + words[3]);
}

// A COLORREF (0x00BBGGRR) as a colour-table entry.
RGBQUAD QuadOf(COLORREF color) { return RGBQUAD{GetBValue(color), GetGValue(color), GetRValue(color), 0}; }

// Yellow, gold, tan, sky: inks that a disabled image leaves out like white.
bool IsLightInk(const RGBQUAD& q) { return 299 * q.rgbRed + 587 * q.rgbGreen + 114 * q.rgbBlue >= 140 * 1000; }

bool operator==(const RGBQUAD& a, const RGBQUAD& b)
{
    return a.rgbBlue == b.rgbBlue && a.rgbGreen == b.rgbGreen && a.rgbRed == b.rgbRed;
}

struct DcTraits {
    using Handle = HDC;
    static void Close(HDC h) noexcept { ::DeleteDC(h); }
};
// A memory DC made for one drawing.
using CScopedMemoryDC = CUniqueHandle<DcTraits>;
}  // namespace

BOOL CBitmapMenu::AttachToolbarImages(UINT nIDToolBar)
{
    const auto ids = ReadToolbarIds(nIDToolBar);
    if (!ids) return FALSE;
    // Every popup draws its items in cells of the images' size.
    const WORD* words = ReadToolbar(nIDToolBar);
    if (words[1] > 0 && words[2] > 0) {
        m_nImageWidth = words[1];
        m_nImageHeight = words[2];
        for (const auto& popup : m_SubMenus) {
            popup->m_nImageWidth = m_nImageWidth;
            popup->m_nImageHeight = m_nImageHeight;
        }
    }
    for (const WORD id : *ids)
        if (id != 0 && ::GetMenuState(m_hMenu, id, MF_BYCOMMAND) != 0xFFFFFFFF)
            SetItemImage(nullptr, id, int(nIDToolBar));
    return TRUE;
}

void CBitmapMenu::SetItemImage(const wchar_t* lpszText, UINT nID, int nImageSource)
{
    int position = -1;
    CBitmapMenu* holder = FindItemByCommand(nID, position);
    CBitmapMenuItem* item = nullptr;
    if (holder && position >= 0 && size_t(position) < holder->m_Items.size()) {
        item = holder->m_Items[size_t(position)].get();
    } else {
        holder = nullptr;
        item = m_Items.emplace_back(std::make_unique<CBitmapMenuItem>()).get();
    }
    if (lpszText) item->m_szText = lpszText;
    item->m_nImageSource = nImageSource;
    item->m_nImageIndex = -1;
    if (nImageSource >= 0) {
        item->m_nImageIndex = 0;
        FindToolbarImageIndex(nID, UINT(nImageSource), item->m_nImageIndex);
        if (!item->m_pImageList) item->m_pImageList = std::make_unique<CImageList>();
        item->m_pImageList->Create(m_nImageWidth, m_nImageHeight, ILC_COLORDDB | ILC_MASK, 1, 1);
        AddToolbarImages(*item->m_pImageList, UINT(nImageSource));
    }
    item->m_nFlags = MF_OWNERDRAW;
    item->m_nID = nID;
    // Enabled and unchecked until the command update says otherwise.
    if (holder) holder->SetOwnerDraw(position, *item, true);
}

CBitmapMenu* CBitmapMenu::FindItemByCommand(UINT nID, int& nPosition)
{
    for (int i = 0; i < ::GetMenuItemCount(m_hMenu); ++i) {
        if (const HMENU sub = ::GetSubMenu(m_hMenu, i)) {
            if (auto* popup = dynamic_cast<CBitmapMenu*>(FromHandlePermanent(sub)))
                if (CBitmapMenu* found = popup->FindItemByCommand(nID, nPosition)) return found;
        } else if (::GetMenuItemID(m_hMenu, i) == nID) {
            nPosition = i;
            return this;
        }
    }
    nPosition = -1;
    return nullptr;
}

BOOL CBitmapMenu::FindToolbarImageIndex(UINT nID, UINT nIDToolBar, int& nImageIndex)
{
    const auto ids = ReadToolbarIds(nIDToolBar);
    if (!ids) return FALSE;
    int image = 0;
    for (const WORD id : *ids) {
        if (id == 0) continue;
        if (id == nID) {
            if (image > 0) nImageIndex = image;
            return TRUE;
        }
        ++image;
    }
    return FALSE;
}

int CBitmapMenu::AddToolbarImages(CImageList& list, UINT nIDBitmap)
{
    const CScopedBitmap bitmap = LoadMenuBitmap(nIDBitmap);
    if (!bitmap) return -1;
    return list.Add(bitmap.Get(), ::GetSysColor(COLOR_BTNFACE));
}

CScopedBitmap CBitmapMenu::LoadMenuBitmap(UINT nIDBitmap, bool bDisabledLook)
{
    const HINSTANCE hInst = ::GetModuleHandleA(nullptr);
    const HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nIDBitmap & 0xFFFF), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    const HGLOBAL hGlobal = hRes ? ::LoadResource(hInst, hRes) : nullptr;
    const auto* data = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    const size_t size = hRes ? ::SizeofResource(hInst, hRes) : 0;
    if (!data || size < sizeof(BITMAPINFOHEADER)) return {};
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > size || header->biWidth <= 0 ||
        header->biHeight == 0 || header->biPlanes != 1 || header->biCompression != BI_RGB)
        return {};
    size_t colors = header->biClrUsed;
    if (colors == 0 && header->biBitCount <= 8) colors = size_t(1) << header->biBitCount;
    const size_t stride = ((size_t(header->biWidth) * header->biBitCount + 31) / 32) * 4;
    const size_t height = size_t(header->biHeight < 0 ? -header->biHeight : header->biHeight);
    const size_t bitsOffset = header->biSize + colors * sizeof(RGBQUAD);
    if (colors > 256 || bitsOffset > size || (size - bitsOffset) / stride < height) return {};

    // A working copy of the header and colour table, the button colours
    // replaced by the user's.
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
    std::copy(data, data + sizeof(BITMAPINFOHEADER), info.begin());
    std::copy(data + header->biSize, data + bitsOffset, info.begin() + sizeof(BITMAPINFOHEADER));
    reinterpret_cast<BITMAPINFOHEADER*>(info.data())->biSize = sizeof(BITMAPINFOHEADER);
    auto* table = reinterpret_cast<RGBQUAD*>(info.data() + sizeof(BITMAPINFOHEADER));
    const struct {
        RGBQUAD from;
        int sysColor;
    } kMap[] = {{{0, 0, 0, 0}, COLOR_BTNTEXT},
                {{128, 128, 128, 0}, COLOR_BTNSHADOW},
                {{192, 192, 192, 0}, COLOR_BTNFACE},
                {{255, 255, 255, 0}, COLOR_BTNHIGHLIGHT}};
    for (size_t i = 0; i < colors && i < 16; ++i) {
        const auto mapped = std::find_if(std::begin(kMap), std::end(kMap),
                                         [&](const auto& map) { return table[i] == map.from; });
        if (mapped != std::end(kMap))
            table[i] = QuadOf(::GetSysColor(mapped->sysColor));
        else if (bDisabledLook && IsLightInk(table[i]))
            table[i] = QuadOf(::GetSysColor(COLOR_BTNHIGHLIGHT));
    }

    const CScopedClientDC screen(nullptr);
    CScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), header->biWidth, int(height)));
    const CScopedMemoryDC dc(::CreateCompatibleDC(screen.Get()));
    if (!bitmap || !dc) return {};
    {
        const CScopedSelectObject selected(dc.Get(), bitmap.Get());
        ::StretchDIBits(dc.Get(), 0, 0, header->biWidth, int(height), 0, 0, header->biWidth, int(height),
                        data + bitsOffset, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    }
    return bitmap;
}

void CBitmapMenu::DrawDisabledImage(HDC hDC, int x, int y, int cx, int cy, HBITMAP hSource, int sx, int sy) const
{
    const CScopedMemoryDC maskDC(::CreateCompatibleDC(hDC));
    const CScopedMemoryDC sourceDC(::CreateCompatibleDC(hDC));
    const CScopedBitmap mask(::CreateBitmap(cx, cy, 1, 1, nullptr));
    if (!maskDC || !sourceDC || !mask) return;
    const CScopedBrush highlight(::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT)));
    const CScopedBrush shadow(::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW)));
    constexpr DWORD kBrushWhereMaskIsSet = 0x00E20746;  // DSPDxax

    const CScopedSelectObject maskSelected(maskDC.Get(), mask.Get());
    const CScopedSelectObject sourceSelected(sourceDC.Get(), hSource);
    // The mask: black exactly where the image is neither face nor highlight.
    ::PatBlt(maskDC.Get(), 0, 0, cx, cy, WHITENESS);
    ::SetBkColor(sourceDC.Get(), ::GetSysColor(COLOR_3DFACE));
    ::BitBlt(maskDC.Get(), 0, 0, cx, cy, sourceDC.Get(), sx, sy, SRCCOPY);
    ::SetBkColor(sourceDC.Get(), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::BitBlt(maskDC.Get(), 0, 0, cx, cy, sourceDC.Get(), sx, sy, SRCPAINT);

    // The loaded copy is this drawing's own: it becomes the canvas.
    ::SetBkColor(sourceDC.Get(), ::GetSysColor(IsNewShell() ? COLOR_3DFACE : COLOR_MENU));
    const RECT cell{0, 0, cx, cy};
    ::ExtTextOutA(sourceDC.Get(), 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
    ::SetBkColor(sourceDC.Get(), RGB(0, 0, 0));
    ::SetTextColor(sourceDC.Get(), RGB(255, 255, 255));

    {
        const CScopedSelectObject brush(sourceDC.Get(), highlight.Get());
        ::BitBlt(sourceDC.Get(), 0, 0, cx, cy, maskDC.Get(), 0, 0, kBrushWhereMaskIsSet);
        ::BitBlt(hDC, x + 1, y + 1, cx, cy, sourceDC.Get(), 0, 0, SRCCOPY);
        ::BitBlt(sourceDC.Get(), 1, 1, cx, cy, maskDC.Get(), 0, 0, kBrushWhereMaskIsSet);
    }
    const CScopedSelectObject brush(sourceDC.Get(), shadow.Get());
    ::BitBlt(sourceDC.Get(), 0, 0, cx, cy, maskDC.Get(), 0, 0, kBrushWhereMaskIsSet);
    ::BitBlt(hDC, x, y, cx, cy, sourceDC.Get(), 0, 0, SRCCOPY);
}
