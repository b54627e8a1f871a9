#pragma once
// Owners for the handles taken from the system. Each gives its handle back
// exactly once, when it goes out of scope, also when an exception unwinds
// past it; none can be copied, and a moved-from owner holds nothing.

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>
#include <unknwn.h>

#include <utility>

// One handle given back by Traits::Close(handle); a null handle is never
// closed.
template <typename Traits>
class CUniqueHandle {
public:
    using Handle = typename Traits::Handle;

    CUniqueHandle() = default;
    explicit CUniqueHandle(Handle h) noexcept : m_h(h) {}
    ~CUniqueHandle() { Reset(); }
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_h(other.Detach()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    Handle Get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != nullptr; }
    // Closes the handle held and takes h instead.
    void Reset(Handle h = nullptr) noexcept
    {
        if (m_h) Traits::Close(m_h);
        m_h = h;
    }
    // Gives the handle up without closing it.
    Handle Detach() noexcept { return std::exchange(m_h, nullptr); }

private:
    Handle m_h = nullptr;
};

template <typename T>
struct GdiObjectTraits {
    using Handle = T;
    static void Close(T h) noexcept { ::DeleteObject(h); }
};

// A GDI object made by this program (DeleteObject). Never one that is still
// selected into a DC, nor a stock object.
template <typename T = HGDIOBJ>
using CScopedGdiObject = CUniqueHandle<GdiObjectTraits<T>>;
using CScopedBitmap = CScopedGdiObject<HBITMAP>;
using CScopedFont = CScopedGdiObject<HFONT>;
using CScopedBrush = CScopedGdiObject<HBRUSH>;
using CScopedPen = CScopedGdiObject<HPEN>;

struct PidlTraits {
    using Handle = LPITEMIDLIST;
    static void Close(LPITEMIDLIST pidl) noexcept { ::CoTaskMemFree(pidl); }
};

// An item id list the shell allocated for the caller (its task allocator).
using CScopedPidl = CUniqueHandle<PidlTraits>;

struct LibraryTraits {
    using Handle = HMODULE;
    static void Close(HMODULE h) noexcept { ::FreeLibrary(h); }
};

// A library loaded by the caller (LoadLibrary, FreeLibrary).
using CScopedLibrary = CUniqueHandle<LibraryTraits>;

struct MenuTraits {
    using Handle = HMENU;
    static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};

// A menu loaded or made by the caller and attached to no window (DestroyMenu).
using CScopedMenu = CUniqueHandle<MenuTraits>;

struct FindTraits {
    using Handle = HANDLE;
    static void Close(HANDLE h) noexcept { ::FindClose(h); }
};

// A directory search (FindFirstFile, FindClose); INVALID_HANDLE_VALUE is
// stored as null: FromFindFirstFile.
using CScopedFind = CUniqueHandle<FindTraits>;
inline CScopedFind FromFindFirstFile(HANDLE h) noexcept
{
    return CScopedFind(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

struct KernelHandleTraits {
    using Handle = HANDLE;
    static void Close(HANDLE h) noexcept { ::CloseHandle(h); }
};

// A kernel object handle (CloseHandle). Functions that answer
// INVALID_HANDLE_VALUE (CreateFile) are stored as null: FromCreateFile.
using CScopedHandle = CUniqueHandle<KernelHandleTraits>;
inline CScopedHandle FromCreateFile(HANDLE h) noexcept
{
    return CScopedHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

// The client-area DC of a window (GetDC, ReleaseDC).
class CScopedClientDC {
public:
    explicit CScopedClientDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hDC(::GetDC(hWnd)) {}
    ~CScopedClientDC()
    {
        if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
    }
    CScopedClientDC(CScopedClientDC&& other) noexcept
        : m_hWnd(other.m_hWnd), m_hDC(std::exchange(other.m_hDC, nullptr))
    {
    }
    CScopedClientDC& operator=(CScopedClientDC&&) = delete;

    HDC Get() const noexcept { return m_hDC; }

private:
    HWND m_hWnd;
    HDC m_hDC;
};

// The DC of one WM_PAINT (BeginPaint, EndPaint). EndPaint must follow even
// when drawing fails: it gives the DC back and shows the caret again.
class CScopedPaintDC {
public:
    explicit CScopedPaintDC(HWND hWnd) noexcept : m_hWnd(hWnd), m_hDC(::BeginPaint(hWnd, &m_ps)) {}
    ~CScopedPaintDC()
    {
        if (m_hWnd) ::EndPaint(m_hWnd, &m_ps);
    }
    CScopedPaintDC(CScopedPaintDC&& other) noexcept
        : m_hWnd(std::exchange(other.m_hWnd, nullptr)), m_ps(other.m_ps), m_hDC(other.m_hDC)
    {
    }
    CScopedPaintDC& operator=(CScopedPaintDC&&) = delete;

    HDC Get() const noexcept { return m_hDC; }
    const PAINTSTRUCT& PaintStruct() const noexcept { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps{};  // before m_hDC: BeginPaint fills it
    HDC m_hDC;
};

// An object selected into a DC for a scope; the DC gets its previous object
// back at the end. Selecting a null object does nothing.
class CScopedSelectObject {
public:
    CScopedSelectObject(HDC hDC, HGDIOBJ obj) noexcept
        : m_hDC(hDC), m_old(obj ? ::SelectObject(hDC, obj) : nullptr)
    {
    }
    ~CScopedSelectObject()
    {
        if (m_old) ::SelectObject(m_hDC, m_old);
    }
    CScopedSelectObject(CScopedSelectObject&& other) noexcept
        : m_hDC(other.m_hDC), m_old(std::exchange(other.m_old, nullptr))
    {
    }
    CScopedSelectObject& operator=(CScopedSelectObject&&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_old;
};

// The memory of a global handle, locked for a scope (GlobalLock,
// GlobalUnlock). The handle itself stays its owner's.
template <typename T = void>
class CScopedGlobalLock {
public:
    explicit CScopedGlobalLock(HGLOBAL hGlobal) noexcept
        : m_hGlobal(hGlobal), m_p(hGlobal ? static_cast<T*>(::GlobalLock(hGlobal)) : nullptr)
    {
    }
    ~CScopedGlobalLock()
    {
        if (m_p) ::GlobalUnlock(m_hGlobal);
    }
    CScopedGlobalLock(CScopedGlobalLock&& other) noexcept
        : m_hGlobal(other.m_hGlobal), m_p(std::exchange(other.m_p, nullptr))
    {
    }
    CScopedGlobalLock& operator=(CScopedGlobalLock&&) = delete;

    // The locked memory; null when the lock failed.
    T* Get() const noexcept { return m_p; }
    SIZE_T Size() const noexcept { return m_p ? ::GlobalSize(m_hGlobal) : 0; }

private:
    HGLOBAL m_hGlobal;
    T* m_p;
};

// One reference to a COM object. Constructed from a pointer it takes over
// the reference the caller holds (an out-parameter's); AddRefOf takes a new
// one. Released once, at the end.
template <typename T>
class CScopedComPtr {
public:
    CScopedComPtr() = default;
    explicit CScopedComPtr(T* p) noexcept : m_p(p) {}
    static CScopedComPtr AddRefOf(T* p) noexcept
    {
        if (p) p->AddRef();
        return CScopedComPtr(p);
    }
    ~CScopedComPtr() { Reset(); }
    CScopedComPtr(CScopedComPtr&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CScopedComPtr& operator=(CScopedComPtr&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    void Reset() noexcept
    {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    // For a function that returns a new reference through T**: releases the
    // one held first.
    T** Put() noexcept
    {
        Reset();
        return &m_p;
    }

private:
    T* m_p = nullptr;
};
