#include "ui/menu/MenuMetrics.h"

#include "framework/win32/WinApp.h"
#include "framework/win32/Wnd.h"

CScopedFont CreateMenuFont()
{
    // The 340-byte form of the structure: what every system answers.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340;
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0)) return CScopedFont();
    return CScopedFont(::CreateFontIndirectA(&metrics.lfMenuFont));
}

HWND MeasuringWindow()
{
    const CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}
