#pragma once
// IUnknown for the framework's COM objects that implement one interface.
// Two lifetimes: an object that its C++ owner holds (a drop target lives as
// long as its window's registration; the count only tells the system's
// references apart) and one that its references own (a data object handed
// to another program may outlive the call that made it), deleted when the
// last reference goes.

#include <windows.h>
#include <unknwn.h>

enum class CComLifetime { ownedByOwner, ownedByReferences };

template <typename Interface>
class CComObject : public Interface {
public:
    explicit CComObject(CComLifetime lifetime) : m_lifetime(lifetime) {}
    virtual ~CComObject() = default;
    CComObject(const CComObject&) = delete;
    CComObject& operator=(const CComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(Interface))) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(::InterlockedIncrement(&m_nRefs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = ::InterlockedDecrement(&m_nRefs);
        if (refs == 0 && m_lifetime == CComLifetime::ownedByReferences) delete this;
        return ULONG(refs);
    }

private:
    CComLifetime m_lifetime;
    LONG m_nRefs = 0;
};
