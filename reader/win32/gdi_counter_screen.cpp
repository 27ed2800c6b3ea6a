// GDI drawing of the counter box: pale yellow, black outline, centred text, screen restored.
#include "reader/win32/gdi_counter_screen.h"

#include <cstddef>

#include "platform/win32/wide.h"
#include "reader/win32/counter_box.h"

namespace ravelo {

namespace {

// The whole screen's device context for the length of one call.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// A font selected into a device context for one scope; the context's own font goes back at its end.
class SelectedFont {
  public:
    SelectedFont(HDC dc, HGDIOBJ font)
        : dc_(dc), previous_(font ? SelectObject(dc, font) : nullptr) {}
    ~SelectedFont() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The font of message boxes: TrueType, with the Czech letters whatever the system's code page,
// which the screen's default System font has only on Central European Windows.
HFONT create_message_font() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    BOOL ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    if (!ok) {
        // Systems before Vista know the structure without its last member and refuse the size.
        metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
        ok = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    }
    return ok ? CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
}

int device_caps(int index) {
    ScreenDc screen;
    return screen.get() ? GetDeviceCaps(screen.get(), index) : 0;
}

// The screen DC draws in real pixels, while a program not aware of display scaling reads a
// scaled HORZRES and VERTRES (at 150%, two thirds): the real size centres the box.
int real_size(int desktop_index, int scaled_index) {
    const int real = device_caps(desktop_index);
    return real > 0 ? real : device_caps(scaled_index);
}

}  // namespace

GdiCounterScreen::~GdiCounterScreen() {
    release_capture();
    if (message_font_) DeleteObject(message_font_);  // never left selected into a DC
}

HGDIOBJ GdiCounterScreen::text_font() {
    if (!message_font_) message_font_ = create_message_font();
    return message_font_ ? static_cast<HGDIOBJ>(message_font_) : GetStockObject(DEFAULT_GUI_FONT);
}

int GdiCounterScreen::screen_width() {
    return real_size(DESKTOPHORZRES, HORZRES);
}

int GdiCounterScreen::screen_height() {
    return real_size(DESKTOPVERTRES, VERTRES);
}

int GdiCounterScreen::text_width(const std::string& text) {
    ScreenDc screen;
    if (!screen.get()) return 0;
    const SelectedFont font(screen.get(), text_font());
    const std::wstring wide = platform::to_wide(text);
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &size);
    return size.cx;
}

bool GdiCounterScreen::save_background(const ScreenRect& area) {
    release_capture();  // a start without a finish must not leak the earlier capture
    ScreenDc screen;
    if (!screen.get()) return false;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    saved_dc_ = CreateCompatibleDC(screen.get());
    saved_bitmap_ = CreateCompatibleBitmap(screen.get(), width, height);
    if (!saved_dc_ || !saved_bitmap_) {
        release_capture();
        return false;
    }
    replaced_bitmap_ = SelectObject(saved_dc_, saved_bitmap_);
    BitBlt(saved_dc_, 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    return true;
}

void GdiCounterScreen::paint_box(const ScreenRect& box, const std::string& text) {
    ScreenDc screen;
    if (!screen.get()) return;
    HBRUSH brush = CreateSolidBrush(kCounterFill);
    SetBkMode(screen.get(), TRANSPARENT);
    HGDIOBJ previous = brush ? SelectObject(screen.get(), brush) : nullptr;
    Rectangle(screen.get(), box.left, box.top, box.right, box.bottom);
    RECT area;
    SetRect(&area, box.left, box.top, box.right, box.bottom);
    std::wstring wide = platform::to_wide(text);
    {
        const SelectedFont font(screen.get(), text_font());
        DrawTextW(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &area,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
    if (previous) SelectObject(screen.get(), previous);
    if (brush) DeleteObject(brush);
}

void GdiCounterScreen::restore_background(const ScreenRect& area) {
    if (!saved_bitmap_) return;
    ScreenDc screen;
    if (screen.get()) {
        BitBlt(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
               saved_dc_, 0, 0, SRCCOPY);
    }
    release_capture();
    // The saved pixels are as old as the box: windows beneath that changed meanwhile must
    // paint the rectangle again, or strips of the box would stay on them. Windows take it in
    // their own, possibly scaled, coordinates.
    const ScreenRect scaled = scaled_to_windows(area, screen_width(), screen_height(),
                                                device_caps(HORZRES), device_caps(VERTRES));
    const RECT stood{scaled.left, scaled.top, scaled.right, scaled.bottom};
    RedrawWindow(nullptr, &stood, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void GdiCounterScreen::release_capture() {
    if (saved_dc_ && replaced_bitmap_) SelectObject(saved_dc_, replaced_bitmap_);
    if (saved_dc_) DeleteDC(saved_dc_);
    if (saved_bitmap_) DeleteObject(saved_bitmap_);
    saved_dc_ = nullptr;
    saved_bitmap_ = nullptr;
    replaced_bitmap_ = nullptr;
}

}  // namespace ravelo
