// Measuring and painting the owner-drawn items. Colours are read from the
// system at every call and every GDI object lives for one call only, so a
// change of the colour scheme shows at the next paint.

#include "ui/menu/BitmapMenu.h"

#include <algorithm>
#include <string>

#include "framework/win32/Wnd.h"
#include "ui/menu/MenuMetrics.h"

namespace {
void Fill(HDC hDC, const RECT& rect, COLORREF color)
{
    const CScopedBrush brush(::CreateSolidBrush(color));
    ::FillRect(hDC, &rect, brush.Get());
}

// A one-pixel frame just inside rect: top and left in topLeft, right and
// bottom in bottomRight (which wins at the two shared corners).
void Outline(HDC hDC, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    Fill(hDC, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
    Fill(hDC, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
    Fill(hDC, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    Fill(hDC, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

void Outline(HDC hDC, const RECT& r, COLORREF color) { Outline(hDC, r, color, color); }

// The space between the image's frame and the text: 5 pixels at 100%.
int TextGap() { return AfxScaleForScreen(5); }

std::string ToAnsi(const std::wstring& text)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(std::max(n, 0)), '\0');
    if (n > 0) ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// Label left, shortcut right-aligned, in rect, in one colour.
void DrawTexts(HDC hDC, const std::wstring& label, const std::wstring& shortcut, RECT rect, COLORREF color)
{
    ::SetTextColor(hDC, color);
    ::DrawTextW(hDC, label.c_str(), int(label.size()), &rect, DT_SINGLELINE | DT_VCENTER);
    if (!shortcut.empty())
        ::DrawTextW(hDC, shortcut.c_str(), int(shortcut.size()), &rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}
}  // namespace

void CBitmapMenu::MeasureItem(MEASUREITEMSTRUCT* mis)
{
    const auto* item = reinterpret_cast<const CBitmapMenuItem*>(mis->itemData);
    if (!item) return;
    if (item->m_nFlags & MF_SEPARATOR) {
        mis->itemWidth = 0;
        mis->itemHeight = UINT(::GetSystemMetrics(SM_CYMENU) >> 1);
        return;
    }
    const CScopedFont font = CreateMenuFont();
    const CScopedClientDC dc(MeasuringWindow());
    const CScopedSelectObject selected(dc.Get(), IsNewShell() ? font.Get() : nullptr);
    int cx = 0;
    if (m_nPlatformCode != 0) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc.Get(), item->m_szText.c_str(), int(item->m_szText.size()), &size);
        cx = size.cx;
    } else {
        const std::string text = ToAnsi(item->m_szText);
        RECT rect{0, 0, 0, 0};
        ::DrawTextA(dc.Get(), text.c_str(), int(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        cx = rect.right + 3;
        // Old shells draw wider than they measure: three characters more.
        if (!text.empty()) cx += 3 * (cx / int(text.size()));
    }
    mis->itemWidth = UINT(cx + 2 * m_nImageWidth + 1 + TextGap() - 5);
    mis->itemHeight = UINT(std::max(::GetSystemMetrics(SM_CYMENU), m_nImageHeight + 4));
}

void CBitmapMenu::DrawItem(DRAWITEMSTRUCT* dis)
{
    const auto* item = reinterpret_cast<const CBitmapMenuItem*>(dis->itemData);
    if (!item) return;
    const HDC hDC = dis->hDC;
    const RECT& rc = dis->rcItem;
    const int W = m_nImageWidth;
    const int H = m_nImageHeight;

    if (item->m_nFlags & MF_SEPARATOR) {
        RECT line = rc;
        line.top += (rc.bottom - rc.top) >> 1;
        ::DrawEdge(hDC, &line, EDGE_ETCHED, BF_TOP);
        return;
    }

    const bool hasImage = item->HasImage();
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const bool greyed = (dis->itemState & ODS_GRAYED) != 0;
    const bool checked = (dis->itemState & ODS_CHECKED) != 0;
    const COLORREF menu = ::GetSysColor(COLOR_MENU);

    if (selected) {
        RECT bar = rc;
        if (hasImage || checked) bar.left = rc.left + W + 5;
        Fill(hDC, bar, ::GetSysColor(COLOR_HIGHLIGHT));
    } else {
        Fill(hDC, rc, menu);
    }

    const int dy = std::max(0, int(rc.bottom - rc.top - H - 4) / 2);
    const RECT frame{rc.left, rc.top + dy, rc.left + W + 4, rc.top + dy + H + 4};
    const RECT ring{rc.left + 1, rc.top + dy + 1, rc.left + W + 3, rc.top + dy + H + 3};
    const POINT origin{rc.left + 2, rc.top + dy + 2};
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const CImageList* images = item->m_pImageList.get();

    if (hasImage) {
        Outline(hDC, ring, menu);
        if (greyed) {
            if (const CScopedBitmap bitmap = LoadMenuBitmap(UINT(item->m_nImageSource), true)) {
                Outline(hDC, frame, menu);
                DrawDisabledImage(hDC, origin.x, origin.y, W, H, bitmap.Get(), W * item->m_nImageIndex, 0);
            }
        } else {
            if (selected) {
                Fill(hDC, ring, menu);
                if (IsNewShell()) {
                    if (checked)
                        Outline(hDC, frame, shadow, light);
                    else
                        Outline(hDC, frame, light, shadow);
                }
            } else if (checked) {
                Fill(hDC, ring, ::GetSysColor(COLOR_3DLIGHT));
                if (IsNewShell()) Outline(hDC, frame, shadow, light);
            } else {
                Fill(hDC, ring, menu);
                Outline(hDC, frame, menu);
            }
            if (images) images->Draw(hDC, item->m_nImageIndex, origin, ILD_TRANSPARENT);
        }
    } else if (checked) {
        // A popup may give the item its own checked-state bitmap: then it is
        // one of a group, shown as a dot.
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_CHECKMARKS;
        const bool radio = ::GetMenuItemInfoW(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, FALSE, &info) &&
                           info.hbmpChecked;
        const RECT box{rc.left + 1, rc.top + dy + 2, rc.left + W + 1, rc.top + dy + H + 2};
        DrawCheckBox(hDC, box, selected, radio);
    }

    RECT textRect{rc.left + W + 4 + TextGap(), rc.top - 1, rc.right, rc.bottom - 1};
    const std::wstring& text = item->m_szText;
    if (text.empty()) return;
    std::wstring label = text;
    std::wstring shortcut;
    if (const size_t tab = text.find(L'\t'); tab != std::wstring::npos) {
        label = text.substr(0, tab);
        shortcut = text.substr(text.rfind(L'\t') + 1);
        textRect.right -= W;
    }

    const CScopedFont font = CreateMenuFont();
    const CScopedSelectObject fontSelected(hDC, font.Get());
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldColor = ::GetTextColor(hDC);
    if (!greyed) {
        DrawTexts(hDC, label, shortcut, textRect,
                  ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    } else if (selected) {
        DrawTexts(hDC, label, shortcut, textRect, menu);
    } else {
        const RECT embossed{textRect.left + 1, textRect.top + 1, textRect.right + 1, textRect.bottom + 1};
        DrawTexts(hDC, label, shortcut, embossed, light);
        DrawTexts(hDC, label, shortcut, textRect, ::GetSysColor(COLOR_GRAYTEXT));
    }
    ::SetTextColor(hDC, oldColor);
    ::SetBkMode(hDC, oldMode);
}

void CBitmapMenu::DrawCheckBox(HDC hDC, const RECT& box, BOOL bSelected, BOOL bRadio) const
{
    Fill(hDC, box, ::GetSysColor(bSelected || !IsNewShell() ? COLOR_MENU : COLOR_3DLIGHT));
    if (IsNewShell()) {
        RECT edge = box;
        ::DrawEdge(hDC, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    const COLORREF color = ::GetSysColor(COLOR_MENUTEXT);
    // Drawn for a 15-pixel box; a box two or more times as large (the
    // images at 200%) gets the drawing with pixels as large.
    const int unit = std::max(1, int(box.bottom - box.top) / 15);
    if (bRadio)
        DrawRadioDot(hDC, box.left + 5 * unit, box.top + 4 * unit, color, unit);
    else
        DrawCheckMark(hDC, box.left + 4 * unit, box.top + 4 * unit, color, unit);
}

void CBitmapMenu::DrawCheckMark(HDC hDC, int x, int y, COLORREF color, int nUnit)
{
    // A tick three pixels thick, lowest at its third column.
    static const int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    if (nUnit <= 1) {
        for (int c = 0; c < 7; ++c)
            for (int r = 0; r < 3; ++r) ::SetPixel(hDC, x + c, y + kTop[c] + r, color);
        return;
    }
    for (int c = 0; c < 7; ++c)
        Fill(hDC, RECT{x + c * nUnit, y + kTop[c] * nUnit, x + (c + 1) * nUnit, y + (kTop[c] + 3) * nUnit}, color);
}

void CBitmapMenu::DrawRadioDot(HDC hDC, int x, int y, COLORREF color, int nUnit)
{
    const CScopedBrush brush(::CreateSolidBrush(color));
    const CScopedPen pen(::CreatePen(PS_SOLID, 1, color));
    const CScopedSelectObject brushSelected(hDC, brush.Get());
    const CScopedSelectObject penSelected(hDC, pen.Get());
    ::Ellipse(hDC, x, y, x + 6 * nUnit, y + 6 * nUnit);
}
