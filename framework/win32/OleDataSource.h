#pragma once
// The framework's side of a data object that this program offers to a drag
// (or the clipboard): formats whose data is given now, and formats rendered
// only when a target asks for them. Made with new and held through its
// references (CScopedComPtr<IDataObject>::AddRefOf): a target in another
// program may keep it after the drag.

#include <windows.h>
#include <objidl.h>

#include <vector>

#include "framework/win32/ComObject.h"
#include "framework/win32/OleDropSource.h"

class COleDataSource : public CComObject<IDataObject> {
public:
    COleDataSource();

    // Offers cfFormat with these bytes, as global memory.
    void CacheGlobalData(CLIPFORMAT cfFormat, std::vector<BYTE> bytes);
    // Offers cfFormat as global memory rendered by OnRenderGlobalData when a
    // target asks for it.
    void DelayRenderData(CLIPFORMAT cfFormat);

    // Runs the system's drag loop with this object (OLE initialised on the
    // thread); returns the effect the target took, DROPEFFECT_NONE when the
    // drag was cancelled or refused. Targets of this thread are called
    // inside.
    DROPEFFECT DoDragDrop(DROPEFFECT dwEffects, COleDropSource* pDropSource = nullptr);
    // TRUE while DoDragDrop runs and the mouse has not been released: a
    // target that asks for data now only looks (the shell reads the file
    // names as a drag enters its windows).
    BOOL IsDragPending() const { return m_pDropSource && !m_pDropSource->IsDropping(); }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pFormatEtc, STGMEDIUM* pMedium) override;
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* pFormatEtc, STGMEDIUM* pMedium) override;
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pFormatEtc) override;
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* pFormatIn, FORMATETC* pFormatOut) override;
    // Targets leave data here (the shell: the effect it performed); kept
    // and given back like cached data.
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC* pFormatEtc, STGMEDIUM* pMedium, BOOL fRelease) override;
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum) override;
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override;
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override;
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override;

protected:
    // The bytes of a delayed format; FALSE when there are none to give.
    virtual BOOL OnRenderGlobalData(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes);

private:
    struct Offer {
        CLIPFORMAT cfFormat;
        bool bDelayed;
        std::vector<BYTE> bytes;
    };
    Offer* Find(const FORMATETC* pFormatEtc);
    Offer& OfferFor(CLIPFORMAT cfFormat);

    std::vector<Offer> m_offers;
    COleDropSource* m_pDropSource = nullptr;  // while DoDragDrop runs
};
