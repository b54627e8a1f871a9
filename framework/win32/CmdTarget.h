#pragma once
// Command routing: objects that handle command ids, and the state object
// through which menu items and toolbar buttons learn whether to be enabled.

#include <windows.h>

#include <functional>
#include <unordered_map>

enum : int { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1 };

// The item (menu entry, toolbar button, status pane) whose state a handler sets.
class CCmdUI {
public:
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const char* text);

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    HMENU m_hMenu = nullptr;  // set for menu items
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    BOOL m_bEnabled = TRUE;  // the last Enable() given

    // Routes the update through target; with no handler found, disables the
    // item when bDisableIfNoHandler and no command handler exists either.
    BOOL DoUpdate(class CCmdTarget* target, BOOL bDisableIfNoHandler);
};

// An object with handlers for command ids. Handlers are registered in the
// constructor of the class that owns them, one per command.
class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Routes a command (CN_COMMAND) or its update (CN_UPDATE_COMMAND_UI).
    // With bProbe, only answers whether a handler exists, running nothing.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe = false);

protected:
    void MapCommand(UINT nID, std::function<void()> handler) { m_commands[nID] = std::move(handler); }
    void MapUpdate(UINT nID, std::function<void(CCmdUI*)> handler) { m_updates[nID] = std::move(handler); }
    // This object's own handlers only, without further routing.
    BOOL DispatchOwn(UINT nID, int nCode, CCmdUI* pCmdUI, bool bProbe);

private:
    std::unordered_map<UINT, std::function<void()>> m_commands;
    std::unordered_map<UINT, std::function<void(CCmdUI*)>> m_updates;
};
