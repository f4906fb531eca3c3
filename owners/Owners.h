#pragma once
// One small owner for each kind of thing the system hands out and wants back, all in one style:
// the owner gives it back when it goes, converts to the handle it holds so that calls stay plain
// Win32, and offers Receive() for calls that hand a new one out through a pointer.
#include <windows.h>

#include <commctrl.h>

template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle handle) : FHandle(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : FHandle(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    ~Owned() { Reset(); }

    operator Handle() const { return FHandle; }
    bool Valid() const { return Traits::Valid(FHandle); }
    // Gives the held one back and takes Handle instead; false when the system refused to take it
    // back (it is given up all the same).
    bool Reset(Handle handle = Traits::Empty())
    {
        const bool freed = !Valid() || Traits::Free(FHandle);
        FHandle = handle;
        return freed;
    }
    Handle Release()
    {
        const Handle held = FHandle;
        FHandle = Traits::Empty();
        return held;
    }
    Handle* Receive()
    {
        Reset();
        return &FHandle;
    }

private:
    Handle FHandle = Traits::Empty();
};

namespace OwnerTraits {

// Kernel objects report failure as either of two values, depending on the call that made them.
struct Kernel {
    using Handle = HANDLE;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Free(Handle h) { return CloseHandle(h) != FALSE; }
};

struct Find {
    using Handle = HANDLE;
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Free(Handle h) { return FindClose(h) != FALSE; }
};

template <class H, class F>
struct Simple {
    using Handle = H;
    static Handle Empty() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static bool Free(Handle h) { return F::Free(h); }
};

struct LocalFreed {
    static bool Free(HLOCAL h) { return LocalFree(h) == nullptr; }
};
struct SidFreed {
    static bool Free(PSID h) { return FreeSid(h) == nullptr; }
};
struct GdiDeleted {
    static bool Free(HGDIOBJ h) { return DeleteObject(h) != FALSE; }
};
struct ImageListDestroyed {
    static bool Free(HIMAGELIST h) { return ImageList_Destroy(h) != FALSE; }
};
struct LibraryFreed {
    static bool Free(HMODULE h) { return FreeLibrary(h) != FALSE; }
};

}  // namespace OwnerTraits

// A handle that CloseHandle gives back: files, tokens, processes.
using KernelHandle = Owned<OwnerTraits::Kernel>;
// A listing from FindFirstFileW.
using FindHandle = Owned<OwnerTraits::Find>;
// Memory from LocalAlloc, or that the system allocated for the caller to free with LocalFree
// (security descriptors, message texts, access lists).
using LocalMemory = Owned<OwnerTraits::Simple<HLOCAL, OwnerTraits::LocalFreed>>;
// A security identifier from AllocateAndInitializeSid.
using SidOwner = Owned<OwnerTraits::Simple<PSID, OwnerTraits::SidFreed>>;
using BitmapOwner = Owned<OwnerTraits::Simple<HBITMAP, OwnerTraits::GdiDeleted>>;
using ImageListOwner = Owned<OwnerTraits::Simple<HIMAGELIST, OwnerTraits::ImageListDestroyed>>;
using LibraryOwner = Owned<OwnerTraits::Simple<HMODULE, OwnerTraits::LibraryFreed>>;

// The process error mode as it was before a change (what SetErrorMode answered), put back when
// the owner goes.
class ErrorModeOwner {
public:
    explicit ErrorModeOwner(UINT previous) : FPrevious(previous) {}
    ErrorModeOwner(const ErrorModeOwner&) = delete;
    ErrorModeOwner& operator=(const ErrorModeOwner&) = delete;
    ~ErrorModeOwner() { SetErrorMode(FPrevious); }

private:
    UINT FPrevious;
};

// A window's device context from GetDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (FDC)
            ReleaseDC(FWindow, FDC);
    }
    operator HDC() const { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
};

// An object selected into a device context, with the one it replaced put back when it goes.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject()
    {
        if (FPrevious)
            SelectObject(FDC, FPrevious);
    }

private:
    HDC FDC;
    HGDIOBJ FPrevious;
};
