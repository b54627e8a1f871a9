#pragma once
// A window's part in OLE drag and drop: registered for one window, it turns
// the system's IDropTarget calls into virtual calls with the data object
// wrapped and the point in the window's client coordinates. OLE must be
// initialised on the thread first; the registration ends with Revoke, which
// must come while the window still exists.

#include <windows.h>
#include <oleidl.h>

#include "framework/win32/ComObject.h"
#include "framework/win32/OleDataObject.h"

class CWnd;

using DROPEFFECT = DWORD;

class COleDropTarget {
public:
    COleDropTarget();
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    // FALSE when already registered or the system refuses.
    BOOL Register(CWnd* pWnd);
    void Revoke();
    BOOL IsRegistered() const { return m_hWnd != nullptr; }
    // The interface the system calls (not counted: it lives as long as this object).
    IDropTarget* GetInterface() { return &m_xDropTarget; }

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, POINT point);
    virtual void OnDragLeave(CWnd* pWnd);
    // TRUE when the drop was taken.
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, POINT point);

private:
    class XDropTarget : public CComObject<IDropTarget> {
    public:
        explicit XDropTarget(COleDropTarget* owner) : CComObject(CComLifetime::ownedByOwner), m_pOwner(owner) {}
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                            DWORD* pdwEffect) override;
        HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        HRESULT STDMETHODCALLTYPE DragLeave() override;
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

    private:
        COleDropTarget* m_pOwner;
    };

    POINT ClientPoint(POINTL pt) const;
    CWnd* Window() const;

    XDropTarget m_xDropTarget;
    HWND m_hWnd = nullptr;
    // The data object of the drag under way (DragOver gets none of its own).
    COleDataObject m_dataObject;
};
