#include "framework/win32/OleDataObject.h"

#include <cstring>

namespace {
FORMATETC FormatFor(CLIPFORMAT cfFormat, const FORMATETC* pFormatEtc)
{
    if (pFormatEtc) {
        FORMATETC format = *pFormatEtc;
        format.cfFormat = cfFormat;
        return format;
    }
    return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL | TYMED_ISTREAM};
}

// A storage medium given back once, when it goes out of scope.
struct CScopedStgMedium {
    STGMEDIUM medium{};
    ~CScopedStgMedium() { ::ReleaseStgMedium(&medium); }
};
}  // namespace

void COleDataObject::Attach(IDataObject* pDataObject)
{
    m_pEnum.Reset();
    m_pDataObject = CScopedComPtr<IDataObject>::AddRefOf(pDataObject);
}

void COleDataObject::BeginEnumFormats()
{
    m_pEnum.Reset();
    if (m_pDataObject) m_pDataObject->EnumFormatEtc(DATADIR_GET, m_pEnum.Put());
}

BOOL COleDataObject::GetNextFormat(FORMATETC* pFormatEtc)
{
    if (!m_pEnum) return FALSE;
    ULONG fetched = 0;
    if (m_pEnum->Next(1, pFormatEtc, &fetched) != S_OK || fetched != 1) return FALSE;
    // The target device, if any, is ours to free; nothing here uses it.
    if (pFormatEtc->ptd) {
        ::CoTaskMemFree(pFormatEtc->ptd);
        pFormatEtc->ptd = nullptr;
    }
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, const FORMATETC* pFormatEtc) const
{
    if (!m_pDataObject) return FALSE;
    FORMATETC format = FormatFor(cfFormat, pFormatEtc);
    return m_pDataObject->QueryGetData(&format) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, std::vector<BYTE>& bytes, const FORMATETC* pFormatEtc) const
{
    bytes.clear();
    if (!m_pDataObject) return FALSE;
    FORMATETC format = FormatFor(cfFormat, pFormatEtc);
    format.tymed &= TYMED_HGLOBAL | TYMED_ISTREAM;
    CScopedStgMedium stg;
    if (!format.tymed || FAILED(m_pDataObject->GetData(&format, &stg.medium))) return FALSE;

    if (stg.medium.tymed == TYMED_HGLOBAL) {
        const CScopedGlobalLock<BYTE> lock(stg.medium.hGlobal);
        if (!lock.Get()) return FALSE;
        bytes.assign(lock.Get(), lock.Get() + lock.Size());
        return TRUE;
    }
    if (stg.medium.tymed == TYMED_ISTREAM && stg.medium.pstm) {
        STATSTG stat{};
        if (FAILED(stg.medium.pstm->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF) return FALSE;
        bytes.resize(size_t(stat.cbSize.QuadPart));
        ULONG read = 0;
        if (!bytes.empty() && (FAILED(stg.medium.pstm->Read(bytes.data(), ULONG(bytes.size()), &read)) ||
                               read != bytes.size())) {
            bytes.clear();
            return FALSE;
        }
        return TRUE;
    }
    return FALSE;
}
