#include "framework/win32/OleDataSource.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstring>

#include "framework/win32/Callback.h"
#include "framework/win32/Handles.h"

COleDataSource::COleDataSource() : CComObject(CComLifetime::ownedByReferences) {}

COleDataSource::Offer& COleDataSource::OfferFor(CLIPFORMAT cfFormat)
{
    for (Offer& offer : m_offers)
        if (offer.cfFormat == cfFormat) return offer;
    return m_offers.emplace_back(Offer{cfFormat, false, {}});
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, std::vector<BYTE> bytes)
{
    Offer& offer = OfferFor(cfFormat);
    offer.bDelayed = false;
    offer.bytes = std::move(bytes);
}

void COleDataSource::DelayRenderData(CLIPFORMAT cfFormat)
{
    Offer& offer = OfferFor(cfFormat);
    offer.bDelayed = true;
    offer.bytes.clear();
}

BOOL COleDataSource::OnRenderGlobalData(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes)
{
    (void)cfFormat;
    (void)bytes;
    return FALSE;
}

DROPEFFECT COleDataSource::DoDragDrop(DROPEFFECT dwEffects, COleDropSource* pDropSource)
{
    COleDropSource defaultSource;
    COleDropSource* source = pDropSource ? pDropSource : &defaultSource;
    // The system holds references of its own while the loop runs.
    const CScopedComPtr<IDataObject> self = CScopedComPtr<IDataObject>::AddRefOf(this);
    m_pDropSource = source;
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(this, source->GetInterface(), dwEffects, &effect);
    m_pDropSource = nullptr;
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

COleDataSource::Offer* COleDataSource::Find(const FORMATETC* pFormatEtc)
{
    if (!pFormatEtc || pFormatEtc->dwAspect != DVASPECT_CONTENT || !(pFormatEtc->tymed & TYMED_HGLOBAL))
        return nullptr;
    for (Offer& offer : m_offers)
        if (offer.cfFormat == pFormatEtc->cfFormat) return &offer;
    return nullptr;
}

HRESULT STDMETHODCALLTYPE COleDataSource::GetData(FORMATETC* pFormatEtc, STGMEDIUM* pMedium)
{
    if (!pMedium) return E_POINTER;
    *pMedium = STGMEDIUM{};
    return AfxCallbackGuard(E_UNEXPECTED, [&]() -> HRESULT {
        const Offer* offer = Find(pFormatEtc);
        if (!offer) return DV_E_FORMATETC;
        // Rendering may offer more formats: nothing of offer is used after it.
        std::vector<BYTE> bytes;
        if (!offer->bDelayed)
            bytes = offer->bytes;
        else if (!OnRenderGlobalData(offer->cfFormat, bytes))
            return DV_E_FORMATETC;
        const HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
        if (!memory) return E_OUTOFMEMORY;
        {
            const CScopedGlobalLock<BYTE> lock(memory);
            if (!lock.Get()) {
                ::GlobalFree(memory);
                return E_OUTOFMEMORY;
            }
            if (!bytes.empty()) std::memcpy(lock.Get(), bytes.data(), bytes.size());
        }
        pMedium->tymed = TYMED_HGLOBAL;
        pMedium->hGlobal = memory;
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE COleDataSource::GetDataHere(FORMATETC* pFormatEtc, STGMEDIUM* pMedium)
{
    (void)pFormatEtc;
    (void)pMedium;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE COleDataSource::QueryGetData(FORMATETC* pFormatEtc)
{
    return Find(pFormatEtc) ? S_OK : DV_E_FORMATETC;
}

HRESULT STDMETHODCALLTYPE COleDataSource::GetCanonicalFormatEtc(FORMATETC* pFormatIn, FORMATETC* pFormatOut)
{
    (void)pFormatIn;
    if (pFormatOut) pFormatOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

HRESULT STDMETHODCALLTYPE COleDataSource::SetData(FORMATETC* pFormatEtc, STGMEDIUM* pMedium, BOOL fRelease)
{
    if (!pFormatEtc || !pMedium) return E_INVALIDARG;
    if (pMedium->tymed != TYMED_HGLOBAL || pFormatEtc->dwAspect != DVASPECT_CONTENT) return DV_E_TYMED;
    return AfxCallbackGuard(E_UNEXPECTED, [&]() -> HRESULT {
        std::vector<BYTE> bytes;
        {
            const CScopedGlobalLock<BYTE> lock(pMedium->hGlobal);
            if (!lock.Get()) return E_INVALIDARG;
            bytes.assign(lock.Get(), lock.Get() + lock.Size());
        }
        CacheGlobalData(pFormatEtc->cfFormat, std::move(bytes));
        // The medium is ours only when the caller says so.
        if (fRelease) ::ReleaseStgMedium(pMedium);
        return S_OK;
    });
}

HRESULT STDMETHODCALLTYPE COleDataSource::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppEnum)
{
    if (!ppEnum) return E_POINTER;
    *ppEnum = nullptr;
    if (dwDirection != DATADIR_GET) return E_NOTIMPL;
    return AfxCallbackGuard(E_OUTOFMEMORY, [&] {
        std::vector<FORMATETC> formats;
        for (const Offer& offer : m_offers)
            formats.push_back(FORMATETC{offer.cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
        return ::SHCreateStdEnumFmtEtc(UINT(formats.size()), formats.data(), ppEnum);
    });
}

HRESULT STDMETHODCALLTYPE COleDataSource::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT STDMETHODCALLTYPE COleDataSource::DUnadvise(DWORD) { return OLE_E_ADVISENOTSUPPORTED; }

HRESULT STDMETHODCALLTYPE COleDataSource::EnumDAdvise(IEnumSTATDATA**) { return OLE_E_ADVISENOTSUPPORTED; }
