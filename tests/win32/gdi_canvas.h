// The GDI test interface: a bitmap in a memory DC to draw into or copy the screen into, its pixels
// read back in place, and a plain window to lie under what is drawn; each releases all it made.
#pragma once

#include <windows.h>

#include <cstdint>

namespace win32_test {

inline BITMAPINFOHEADER top_down_header(int width, int height) {
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    return info;
}

// A 32-bit top-down bitmap selected into a memory DC.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader = top_down_header(width, height);
        dc_ = CreateCompatibleDC(nullptr);
        if (dc_) bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (bitmap_) old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        // The bitmap leaves the DC before either is deleted.
        if (old_) SelectObject(dc_, old_);
        if (bitmap_) DeleteObject(bitmap_);
        if (dc_) DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return old_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The pixels row by row from the top, 0x00RRGGBB; GDI's drawing is flushed first, as a DIB
    // section's bits may lag behind it.
    const std::uint32_t* bits() const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_);
    }
    // CLR_INVALID outside the bitmap, as GetPixel gives off the screen.
    COLORREF pixel(int x, int y) const {
        if (!ok() || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
        const std::uint32_t p = bits()[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // How many pixels of the rectangle differ from `colour`.
    int pixels_not(const RECT& area, COLORREF colour) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) n += pixel(x, y) != colour;
        }
        return n;
    }

  private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

// What the whole screen shows now; its pixels are addressed in screen coordinates.
class ScreenCopy : public Canvas {
  public:
    ScreenCopy() : Canvas(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) {
        HDC screen = GetDC(nullptr);
        if (!screen) return;
        if (ok()) BitBlt(dc(), 0, 0, width(), height(), screen, 0, 0, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
};

// Whether the screen can be read back at all (under Xvfb it can).
inline bool screen_readable() {
    HDC dc = GetDC(nullptr);
    if (!dc) return false;
    const bool ok = GetPixel(dc, 0, 0) != CLR_INVALID;
    ReleaseDC(nullptr, dc);
    return ok;
}

// Paints a rectangle of the screen in one colour, as a window lying there would.
inline void fill_screen(const RECT& area, COLORREF colour) {
    HDC dc = GetDC(nullptr);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    ReleaseDC(nullptr, dc);
}

// A borderless window of one colour over `area` (screen pixels), painted before the constructor
// returns; it repaints itself when asked to, as the desktop would not.
class PlainWindow {
  public:
    PlainWindow(const RECT& area, COLORREF colour, DWORD ex_style = 0)
        : brush_(CreateSolidBrush(colour)) {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.hbrBackground = brush_;
        window_class.lpszClassName = kClass;
        registered_ = RegisterClassW(&window_class) != 0;
        window_ = CreateWindowExW(ex_style, kClass, L"", WS_POPUP | WS_VISIBLE, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                  window_class.hInstance, nullptr);
        if (window_) UpdateWindow(window_);
    }
    ~PlainWindow() {
        if (window_) DestroyWindow(window_);
        // A registered class deletes its background brush as it goes.
        if (registered_) {
            UnregisterClassW(kClass, GetModuleHandleW(nullptr));
        } else {
            DeleteObject(brush_);
        }
    }
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;
    HWND get() const { return window_; }

  private:
    static constexpr const wchar_t* kClass = L"Win32TestPlainWindow";
    HBRUSH brush_;
    bool registered_ = false;
    HWND window_ = nullptr;
};

}  // namespace win32_test
