#pragma once
// The source side of an OLE drag: decides, while the system's drag loop
// runs, whether the drag goes on, ends in a drop or is cancelled, and which
// cursor shows. COleDataSource::DoDragDrop uses one; a caller may pass its
// own to change the rules.

#include <windows.h>
#include <oleidl.h>

#include "framework/win32/ComObject.h"

using DROPEFFECT = DWORD;

class COleDropSource {
public:
    COleDropSource();
    virtual ~COleDropSource() = default;
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;

    // S_OK to go on, DRAGDROP_S_DROP when the mouse buttons are released,
    // DRAGDROP_S_CANCEL at Escape or when the other button is pressed too.
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    // The system's cursors.
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);

    // TRUE once QueryContinueDrag has answered with a drop.
    BOOL IsDropping() const { return m_bDropping; }
    // The interface the system calls (not counted: it lives as long as this object).
    IDropSource* GetInterface() { return &m_xDropSource; }

private:
    class XDropSource : public CComObject<IDropSource> {
    public:
        explicit XDropSource(COleDropSource* owner) : CComObject(CComLifetime::ownedByOwner), m_pOwner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override;
        HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD dwEffect) override;

    private:
        COleDropSource* m_pOwner;
    };

    XDropSource m_xDropSource;
    // The button that started the drag, taken when the source was made.
    DWORD m_dwButtonDrag = MK_LBUTTON;
    BOOL m_bDropping = FALSE;
};
