// Move-only owners for Win32 handles: copying is deleted so a handle can never be released twice.
#pragma once
#include <windows.h>
#include <objbase.h>
#include <commctrl.h>
#include <utility>

namespace tessary {

// Generic owner: Traits supplies the invalid value and how to release the handle.
template <typename Traits> class UniqueHandle {
public:
    using handle_type = typename Traits::handle_type;
    UniqueHandle() = default;
    explicit UniqueHandle(handle_type h) : h_(h) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& o) noexcept {
        if (this != &o)
            reset(std::exchange(o.h_, Traits::invalid()));
        return *this;
    }
    void reset(handle_type h = Traits::invalid()) {
        if (h_ != Traits::invalid())
            Traits::close(h_);
        h_ = h;
    }
    handle_type release() { return std::exchange(h_, Traits::invalid()); }
    // Releases the handle held and gives the address a creating call writes the new one to.
    handle_type* put() {
        reset();
        return &h_;
    }
    handle_type get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }

private:
    handle_type h_ = Traits::invalid();
};

// Traits of a handle type whose invalid value is null and which Close releases.
template <typename H, auto Close> struct NullHandleTraits {
    using handle_type = H;
    static H invalid() { return nullptr; }
    static void close(H h) { Close(h); }
};
// The same for the kernel handles whose invalid value is INVALID_HANDLE_VALUE.
template <auto Close> struct InvalidValueHandleTraits {
    using handle_type = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { Close(h); }
};
template <typename H, auto Close> using UniqueAny = UniqueHandle<NullHandleTraits<H, Close>>;
template <auto Close> using UniqueAnyInvalid = UniqueHandle<InvalidValueHandleTraits<Close>>;

using UniqueBitmap = UniqueAny<HBITMAP, DeleteObject>;
using UniqueFont = UniqueAny<HFONT, DeleteObject>;
using UniqueBrush = UniqueAny<HBRUSH, DeleteObject>;
using UniquePen = UniqueAny<HPEN, DeleteObject>;
using UniqueRgn = UniqueAny<HRGN, DeleteObject>;
using UniqueMemDC = UniqueAny<HDC, DeleteDC>;
using UniqueIcon = UniqueAny<HICON, DestroyIcon>;
using UniqueMenu = UniqueAny<HMENU, DestroyMenu>;
using UniqueRegKey = UniqueAny<HKEY, RegCloseKey>;
using UniqueModule = UniqueAny<HMODULE, FreeLibrary>;
using UniqueImageList = UniqueAny<HIMAGELIST, ImageList_Destroy>;
using UniqueFind = UniqueAnyInvalid<FindClose>;
using UniqueFile = UniqueAnyInvalid<CloseHandle>;
// Events, threads and other kernel objects whose "no handle" is null.
using UniqueKernelObject = UniqueAny<HANDLE, CloseHandle>;

// A DC obtained with GetDC, released with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(hwnd_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// The DC of a WM_PAINT: BeginPaint on construction, EndPaint on scope exit.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& paint() const { return ps_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~SelectedObject() {
        if (old_)
            SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Minimal COM smart pointer (AddRef on copy-in, Release on destruction).
template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            p_ = std::exchange(o.p_, nullptr);
        }
        return *this;
    }
    void reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }
    T** put() {
        reset();
        return &p_;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Scope guard for COM/OLE initialisation on this thread.
class OleScope {
public:
    OleScope() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (ok_)
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;

private:
    bool ok_;
};

} // namespace tessary
