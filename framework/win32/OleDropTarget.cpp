#include "framework/win32/OleDropTarget.h"

#include <ole2.h>

#include "framework/win32/Callback.h"
#include "framework/win32/Wnd.h"

COleDropTarget::COleDropTarget() : m_xDropTarget(this) {}

COleDropTarget::~COleDropTarget() { Revoke(); }

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (m_hWnd || !pWnd || !pWnd->m_hWnd) return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget))) return FALSE;
    m_hWnd = pWnd->m_hWnd;
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_hWnd) return;
    ::RevokeDragDrop(m_hWnd);
    m_hWnd = nullptr;
    m_dataObject.Release();
}

CWnd* COleDropTarget::Window() const { return CWnd::FromHandlePermanent(m_hWnd); }

POINT COleDropTarget::ClientPoint(POINTL pt) const
{
    POINT point{pt.x, pt.y};
    if (m_hWnd) ::ScreenToClient(m_hWnd, &point);
    return point;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point)
{
    (void)pWnd;
    (void)pDataObject;
    (void)dwKeyState;
    (void)point;
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point)
{
    (void)pWnd;
    (void)pDataObject;
    (void)dwKeyState;
    (void)point;
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd) { (void)pWnd; }

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point)
{
    (void)pWnd;
    (void)pDataObject;
    (void)dropEffect;
    (void)point;
    return FALSE;
}

HRESULT STDMETHODCALLTYPE COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                                 DWORD* pdwEffect)
{
    if (!pdwEffect) return E_INVALIDARG;
    return AfxCallbackGuard(E_UNEXPECTED, [&] {
        COleDropTarget& owner = *m_pOwner;
        owner.m_dataObject.Attach(pDataObj);
        *pdwEffect = owner.OnDragEnter(owner.Window(), &owner.m_dataObject, grfKeyState, owner.ClientPoint(pt));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect) return E_INVALIDARG;
    return AfxCallbackGuard(E_UNEXPECTED, [&] {
        COleDropTarget& owner = *m_pOwner;
        *pdwEffect = owner.OnDragOver(owner.Window(), &owner.m_dataObject, grfKeyState, owner.ClientPoint(pt));
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE COleDropTarget::XDropTarget::DragLeave()
{
    return AfxCallbackGuard(E_UNEXPECTED, [&] {
        COleDropTarget& owner = *m_pOwner;
        owner.OnDragLeave(owner.Window());
        owner.m_dataObject.Release();
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                            DWORD* pdwEffect)
{
    if (!pdwEffect) return E_INVALIDARG;
    const HRESULT hr = AfxCallbackGuard(E_UNEXPECTED, [&] {
        COleDropTarget& owner = *m_pOwner;
        owner.m_dataObject.Attach(pDataObj);
        const POINT point = owner.ClientPoint(pt);
        // The effect as the last move over the window would give it.
        const DROPEFFECT effect = owner.OnDragOver(owner.Window(), &owner.m_dataObject, grfKeyState, point);
        const BOOL taken = owner.OnDrop(owner.Window(), &owner.m_dataObject, effect, point);
        *pdwEffect = taken ? effect : DROPEFFECT_NONE;
        return S_OK;
    });
    if (FAILED(hr)) *pdwEffect = DROPEFFECT_NONE;
    m_pOwner->m_dataObject.Release();
    return hr;
}
