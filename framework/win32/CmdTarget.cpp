#include "framework/win32/CmdTarget.h"

void CCmdUI::Enable(BOOL bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
    if (m_hMenu) EnableMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_hMenu) CheckMenuItem(m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
}

void CCmdUI::SetText(const char* text)
{
    if (!m_hMenu) return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text);
    SetMenuItemInfoA(m_hMenu, m_nIndex, TRUE, &info);
}

BOOL CCmdUI::DoUpdate(CCmdTarget* target, BOOL bDisableIfNoHandler)
{
    m_bEnableChanged = FALSE;
    const BOOL handled = target->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (!handled && bDisableIfNoHandler && !m_bEnableChanged) {
        // Commands with a handler are available; the rest are not.
        Enable(target->OnCmdMsg(m_nID, CN_COMMAND, this, true));
    }
    return handled;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe)
{
    return DispatchOwn(nID, nCode, pCmdUI, bProbe);
}

BOOL CCmdTarget::DispatchOwn(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe)
{
    if (nCode == CN_COMMAND) {
        const auto it = m_commands.find(nID);
        if (it == m_commands.end()) return FALSE;
        if (!bProbe) it->second();
        return TRUE;
    }
    const auto it = m_updates.find(nID);
    if (it == m_updates.end()) return FALSE;
    if (!bProbe && pCmdUI) it->second(pCmdUI);
    return TRUE;
}
