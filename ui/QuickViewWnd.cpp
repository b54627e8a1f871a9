#include "ui/QuickViewWnd.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstdio>

#include "core/Packwright32Doc.h"
#include "framework/base/Report.h"
#include "preview/Content.h"
#include "res/resource.h"
#include "settings/SettingsStore.h"

namespace {
const char* const kSettingPlace = "QuickViewPlace";

// A number with its thousands grouped by dots, as the list shows sizes.
std::string Grouped(uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
        grouped += digits[i];
    }
    return grouped;
}

// The place kept from last time, when it still lies on the screen.
bool LoadPlace(RECT& rect)
{
    const std::string text = GetSetting(kSettingPlace, "");
    long l, t, r, b;
    if (std::sscanf(text.c_str(), "%ld,%ld,%ld,%ld", &l, &t, &r, &b) != 4) return false;
    rect = RECT{l, t, r, b};
    const RECT screen{::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
                      ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT visible{};
    return r - l >= 100 && b - t >= 80 && ::IntersectRect(&visible, &rect, &screen) &&
           visible.right - visible.left >= 50 && visible.bottom - visible.top >= 30;
}

// Right of the owner, as tall as it, pushed back onto the screen's work area.
RECT PlaceBeside(HWND hOwner)
{
    RECT owner{};
    ::GetWindowRect(hOwner, &owner);
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = std::min<int>(AfxScaleForScreen(420), work.right - work.left);
    const int height = std::min<int>(owner.bottom - owner.top, work.bottom - work.top);
    const int x = std::max<int>(work.left, std::min<int>(owner.right, work.right - width));
    const int y = std::max<int>(work.top, std::min<int>(owner.top, work.bottom - height));
    return RECT{x, y, x + width, y + height};
}
}  // namespace

BOOL CQuickViewWnd::Open(CWnd* pOwner)
{
    if (m_hWnd) return TRUE;
    RECT rect{};
    if (!LoadPlace(rect)) rect = PlaceBeside(pOwner->m_hWnd);
    // A pop-up: owned by the main window, above it, gone with it; its keys
    // pass the main window's accelerators by.
    const char* className =
        AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    if (!CreateEx(WS_EX_TOOLWINDOW, className, AfxLoadString(IDS_QUICKVIEW_TITLE).c_str(),
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN, rect, pOwner, HMENU(nullptr),
                  nullptr))
        return FALSE;
    ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

void CQuickViewWnd::Close()
{
    if (m_hWnd) DestroyWindow();
}

int CQuickViewWnd::OnCreate(CREATESTRUCTA* lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    const HINSTANCE instance = ::GetModuleHandleA(nullptr);
    m_hInfo = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0, 0,
                                m_hWnd, HMENU(IDC_QUICKVIEW_INFO), instance, nullptr);
    m_hText = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                WS_CHILD | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                                    ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
                                0, 0, 0, 0, m_hWnd, HMENU(IDC_QUICKVIEW_TEXT), instance, nullptr);
    m_hPlay = ::CreateWindowExA(0, "BUTTON", AfxLoadString(IDS_QUICKVIEW_PLAY).c_str(),
                                WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, m_hWnd, HMENU(IDC_QUICKVIEW_PLAY),
                                instance, nullptr);
    const auto gui = WPARAM(::GetStockObject(DEFAULT_GUI_FONT));
    ::SendMessageA(m_hInfo, WM_SETFONT, gui, FALSE);
    ::SendMessageA(m_hPlay, WM_SETFONT, gui, FALSE);
    // Fixed pitch: tables and the dump line up in columns.
    ::SendMessageA(m_hText, WM_SETFONT, WPARAM(::GetStockObject(ANSI_FIXED_FONT)), FALSE);
    ::SendMessageA(m_hText, EM_SETLIMITTEXT, 0, 0);
    SetContent(Mode::empty, AfxLoadString(IDS_QUICKVIEW_NO_ENTRY));
    return 0;
}

void CQuickViewWnd::OnDestroy()
{
    ::PlaySoundA(nullptr, nullptr, 0);  // the sound's bytes go with the window
    RECT r{};
    if (::GetWindowRect(m_hWnd, &r))
        SetSetting(kSettingPlace, FormatString("%ld,%ld,%ld,%ld", long(r.left), long(r.top), long(r.right),
                                               long(r.bottom)));
    m_hInfo = m_hText = m_hPlay = nullptr;
    m_sound.clear();
    m_image = preview::Image();
    m_name.clear();
    m_mode = Mode::empty;
}

BOOL CQuickViewWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_F3 || pMsg->wParam == VK_ESCAPE)) {
        Close();
        return TRUE;
    }
    // Tab between the text and Play; no key typed here reaches the main
    // window's accelerators (Del there removes entries).
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) {
        if (::IsDialogMessageA(m_hWnd, pMsg)) return TRUE;
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
        return TRUE;
    }
    return FALSE;
}

LRESULT CQuickViewWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_QUICKVIEW_PLAY && HIWORD(wParam) == BN_CLICKED) {
            Play();
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            Close();
            return 0;
        }
        break;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{AfxScaleForScreen(160), AfxScaleForScreen(120)};
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CQuickViewWnd::ShowEntry(CPackwright32Doc* doc, const std::string& name)
{
    if (!m_hWnd) return;
    ::PlaySoundA(nullptr, nullptr, 0);
    m_sound.clear();
    m_image = preview::Image();
    m_name = name;
    const int32_t index = doc && !name.empty() ? doc->FindEntry(name) : -1;
    const VPPEntry* entry = index >= 0 ? &doc->GetEntry(index) : nullptr;
    if (!entry) {
        m_name.clear();
        SetWindowText(AfxLoadString(IDS_QUICKVIEW_TITLE));
        SetContent(Mode::empty, AfxLoadString(IDS_QUICKVIEW_NO_ENTRY));
        return;
    }
    SetWindowText(FormatString(AfxLoadString(IDS_QUICKVIEW_TITLE_ENTRY).c_str(), name.c_str(),
                               Grouped(uint32_t(entry->m_nSize)).c_str()));

    std::vector<uint8_t> bytes;
    bool cut = false;
    const ExtractResult result = doc->ReadEntryHead(name, kMaxReadBytes, bytes, cut);
    if (result != ExtractResult::ok) {
        SetContent(Mode::message, CPackwright32Doc::GetExtractResultText(result));
        return;
    }
    // Says so when only the start was read.
    auto noted = [&](const std::string& info) {
        return cut ? FormatString(AfxLoadString(IDS_QUICKVIEW_CUT).c_str(), info.c_str(),
                                  Grouped(bytes.size()).c_str())
                   : info;
    };
    const uint8_t* data = bytes.data();
    const size_t size = bytes.size();
    switch (preview::Classify(name, data, size)) {
    case preview::Kind::text:
        SetContent(Mode::text,
                   noted(FormatString(AfxLoadString(IDS_QUICKVIEW_TEXT).c_str(),
                                      Grouped(preview::CountLines(data, size)).c_str())),
                   preview::TextWithCrLf(data, size));
        return;
    case preview::Kind::image: {
        const bool decoded = size >= 2 && data[0] == 'B' && data[1] == 'M' ? preview::DecodeBmp(data, size, m_image)
                                                                           : preview::DecodeTga(data, size, m_image);
        if (!decoded) {
            SetContent(Mode::message, noted(AfxLoadString(IDS_QUICKVIEW_CANNOT_SHOW)));
            return;
        }
        SetContent(Mode::image,
                   FormatString(AfxLoadString(IDS_QUICKVIEW_IMAGE).c_str(), m_image.width, m_image.height));
        return;
    }
    case preview::Kind::sound: {
        preview::WavInfo wav;
        preview::ParseWav(data, size, wav);
        m_sound = std::move(bytes);
        // Cut short: the header must not promise samples past the buffer.
        const size_t have = m_sound.size() - wav.dataOffset;
        if (wav.dataBytes > have) {
            const uint32_t riff = uint32_t(m_sound.size() - 8);
            const uint32_t samples = uint32_t(have);
            for (int i = 0; i < 4; ++i) {
                m_sound[4 + size_t(i)] = uint8_t(riff >> (8 * i));
                m_sound[wav.dataOffset - 4 + size_t(i)] = uint8_t(samples >> (8 * i));
            }
        }
        SetContent(Mode::sound, noted(FormatString(AfxLoadString(IDS_QUICKVIEW_SOUND).c_str(), int(wav.channels),
                                                   unsigned(wav.sampleRate), int(wav.bitsPerSample))));
        return;
    }
    case preview::Kind::binary:
        break;
    }
    const size_t shown = std::min(size, preview::kHexDumpBytes);
    SetContent(Mode::text, FormatString(AfxLoadString(IDS_QUICKVIEW_BINARY).c_str(), Grouped(shown).c_str()),
               preview::HexDump(data, size));
}

void CQuickViewWnd::SetContent(Mode mode, const std::string& info, const std::string& text)
{
    m_mode = mode;
    ::SetWindowTextA(m_hInfo, info.c_str());
    ::SetWindowTextA(m_hText, mode == Mode::text ? text.c_str() : "");
    ::ShowWindow(m_hText, mode == Mode::text ? SW_SHOWNA : SW_HIDE);
    ::ShowWindow(m_hPlay, mode == Mode::sound ? SW_SHOWNA : SW_HIDE);
    Layout();
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CQuickViewWnd::Layout()
{
    if (!m_hInfo) return;
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int margin = AfxScaleForScreen(4);
    const int line = AfxScaleForScreen(20);
    const int button = m_mode == Mode::sound ? AfxScaleForScreen(72) : 0;
    ::MoveWindow(m_hInfo, margin, margin + AfxScaleForScreen(3), std::max(0, int(client.right) - 3 * margin - button),
                 line - AfxScaleForScreen(3), TRUE);
    ::MoveWindow(m_hPlay, client.right - margin - button, margin, button, line + AfxScaleForScreen(2), TRUE);
    const RECT area = ImageArea();
    ::MoveWindow(m_hText, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

RECT CQuickViewWnd::ImageArea() const
{
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    const int margin = AfxScaleForScreen(4);
    const int top = 2 * margin + AfxScaleForScreen(22);
    return RECT{margin, top, std::max<LONG>(margin, client.right - margin), std::max<LONG>(top, client.bottom - margin)};
}

void CQuickViewWnd::Paint()
{
    CScopedPaintDC dc(m_hWnd);
    if (m_mode != Mode::image || m_image.width <= 0) return;
    // Scaled to fit, in proportion, centred.
    const RECT area = ImageArea();
    const int64_t areaW = area.right - area.left, areaH = area.bottom - area.top;
    if (areaW <= 0 || areaH <= 0) return;
    int64_t w = areaW, h = areaW * m_image.height / m_image.width;
    if (h > areaH) h = areaH, w = areaH * m_image.width / m_image.height;
    w = std::max<int64_t>(w, 1), h = std::max<int64_t>(h, 1);
    const int x = int(area.left + (areaW - w) / 2), y = int(area.top + (areaH - h) / 2);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = m_image.width;
    info.bmiHeader.biHeight = -m_image.height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // Shrunk pictures are averaged; enlarged ones keep their pixels sharp.
    ::SetStretchBltMode(dc.Get(), w < m_image.width ? HALFTONE : COLORONCOLOR);
    ::SetBrushOrgEx(dc.Get(), 0, 0, nullptr);
    ::StretchDIBits(dc.Get(), x, y, int(w), int(h), 0, 0, m_image.width, m_image.height, m_image.bgra.data(), &info,
                    DIB_RGB_COLORS, SRCCOPY);
}

void CQuickViewWnd::Play()
{
    if (m_mode != Mode::sound || m_sound.empty()) return;
    ::PlaySoundA(reinterpret_cast<LPCSTR>(m_sound.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}
