#include "framework/win32/OleDropSource.h"

#include "framework/win32/Callback.h"

COleDropSource::COleDropSource() : m_xDropSource(this)
{
    // A drag started with the right button ends when that one is released.
    if ((::GetKeyState(VK_RBUTTON) & 0x8000) && !(::GetKeyState(VK_LBUTTON) & 0x8000)) m_dwButtonDrag = MK_RBUTTON;
}

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    const DWORD other = m_dwButtonDrag == MK_LBUTTON ? MK_RBUTTON : MK_LBUTTON;
    if (bEscapePressed || (dwKeyState & other)) return DRAGDROP_S_CANCEL;
    if (!(dwKeyState & m_dwButtonDrag)) {
        m_bDropping = TRUE;
        return DRAGDROP_S_DROP;
    }
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT dropEffect)
{
    (void)dropEffect;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

HRESULT STDMETHODCALLTYPE COleDropSource::XDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState)
{
    // A failure ends the drag as a cancel: nothing is dropped half-decided.
    return AfxCallbackGuard(HRESULT(DRAGDROP_S_CANCEL),
                            [&] { return HRESULT(m_pOwner->QueryContinueDrag(fEscapePressed, grfKeyState)); });
}

HRESULT STDMETHODCALLTYPE COleDropSource::XDropSource::GiveFeedback(DWORD dwEffect)
{
    return AfxCallbackGuard(HRESULT(DRAGDROP_S_USEDEFAULTCURSORS),
                            [&] { return HRESULT(m_pOwner->GiveFeedback(dwEffect)); });
}
