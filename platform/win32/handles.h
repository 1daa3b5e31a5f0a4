// Owners for system handles. Each owner closes its handle exactly once, can
// be moved but not copied, and is empty after a move or a release.
#pragma once

// UNICODE and NOMINMAX come from the target: wide (W) functions only.
#include <windows.h>

#include <utility>

namespace pallo::platform::win32 {

template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : handle_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    // Gives up ownership without closing.
    Handle release() { return std::exchange(handle_, Handle{}); }
    // Closes the current handle (unless it is h itself) and takes h.
    void reset(Handle h = Handle{}) {
        const Handle old = std::exchange(handle_, h);
        if (old != Handle{} && old != h) Traits::close(old);
    }

private:
    Handle handle_{};
};

struct WindowTraits {
    using Handle = HWND;
    static void close(HWND h) { DestroyWindow(h); }
};
template <typename T>
struct GdiTraits {
    using Handle = T;
    static void close(T h) { DeleteObject(h); }
};
struct IconTraits {
    using Handle = HICON;
    static void close(HICON h) { DestroyIcon(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static void close(HDC h) { DeleteDC(h); }
};

// A window holds at most one hotkey, always under this id.
inline constexpr int kHotkeyId = 1;
struct HotkeyTraits {
    using Handle = HWND;  // the window the hotkey is registered for
    static void close(HWND h) { UnregisterHotKey(h, kHotkeyId); }
};

struct ModuleTraits {
    using Handle = HMODULE;
    static void close(HMODULE h) { FreeLibrary(h); }
};

using OwnedWindow = Owned<WindowTraits>;
using OwnedHotkey = Owned<HotkeyTraits>;
using OwnedFont = Owned<GdiTraits<HFONT>>;
using OwnedBrush = Owned<GdiTraits<HBRUSH>>;
using OwnedBitmap = Owned<GdiTraits<HBITMAP>>;
using OwnedIcon = Owned<IconTraits>;
using OwnedMemoryDc = Owned<MemoryDcTraits>;

// A system library loaded at its first use and kept until the platform
// ends. The shell and the common dialogs (and the libraries they pull in)
// cost the start-up time under Wine, and the program needs them only when
// the user opens a folder or a save dialog.
class LazyLibrary {
public:
    explicit LazyLibrary(const wchar_t* name) : name_(name) {}
    // The library's function, or nullptr when it cannot be had.
    template <typename Fn>
    Fn* function(const char* symbol) {
        if (!module_) module_.reset(LoadLibraryExW(name_, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!module_) return nullptr;
        // Through a function pointer of no type, as GetProcAddress's answer
        // must be cast.
        return reinterpret_cast<Fn*>(reinterpret_cast<void (*)()>(GetProcAddress(module_.get(), symbol)));
    }

private:
    const wchar_t* name_;
    Owned<ModuleTraits> module_;
};

// Selects a GDI object into a DC and restores the previous one into the same
// DC on destruction.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectScope() {
        if (dc_ && old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint / EndPaint.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    ~PaintScope() { EndPaint(hwnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A window DC from GetDC, released to the same window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

}  // namespace pallo::platform::win32
