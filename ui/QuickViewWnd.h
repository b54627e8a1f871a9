#pragma once
// The quick view: a window beside the main window showing one entry's
// contents (text, picture, sound, or a hex dump), read through the document.
// The list decides which entry; this window only shows it.

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/Handles.h"
#include "framework/win32/Wnd.h"
#include "preview/Image.h"

class CPackwright32Doc;

class CQuickViewWnd : public CWnd {
public:
    // The most of an entry the view reads: enough for any table or texture,
    // little enough for memory.
    static constexpr uint32_t kMaxReadBytes = 4 * 1024 * 1024;

    // Creates the window beside owner (or where it was last), without
    // taking the focus from the list; does nothing when it is open.
    BOOL Open(CWnd* pOwner);
    void Close();
    bool IsOpen() const { return m_hWnd != nullptr; }

    // Shows the last entry named name of doc (nothing for an empty name or
    // no document), read anew.
    void ShowEntry(CPackwright32Doc* doc, const std::string& name);
    // The entry shown now, read again after the document changed: removed,
    // it is no longer shown.
    void Refresh(CPackwright32Doc* doc) { ShowEntry(doc, m_name); }
    const std::string& GetEntryName() const { return m_name; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    int OnCreate(CREATESTRUCTA* lpCreateStruct) override;
    void OnDestroy() override;

private:
    enum class Mode { empty, message, text, image, sound };
    void SetContent(Mode mode, const std::string& info, const std::string& text = {});
    void Layout();
    void Paint();
    void Play();
    RECT ImageArea() const;

    std::string m_name;
    Mode m_mode = Mode::empty;
    preview::Image m_image;
    std::vector<uint8_t> m_sound;  // a whole WAV file while it may play
    HWND m_hInfo = nullptr;
    HWND m_hText = nullptr;
    HWND m_hPlay = nullptr;
};
