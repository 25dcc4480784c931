#pragma once
// Dots per inch, per window. The layouts are drawn at 96 dpi and scaled to the dpi of the
// monitor a window stands on. The calls that know about per-monitor dpi came with Windows 10;
// where they are missing (an older Windows, or Wine) the system dpi stands in for every window.

#include <windows.h>

namespace pellix::win32 {

// Sent to a top-level window when it moved to a monitor of another dpi; wParam holds the new
// dpi, lParam the rectangle the system suggests for it.
inline constexpr UINT kMsgDpiChanged = 0x02E0;  // WM_DPICHANGED
inline constexpr int kDesignDpi = 96;

// A length in pixels at 96 dpi scaled to `dpi`.
inline int Scale(int pixelsAt96, int dpi) {
  return MulDiv(pixelsAt96, dpi, kDesignDpi);
}

inline RECT Scale(const RECT& at96, int dpi) {
  return RECT{Scale(at96.left, dpi), Scale(at96.top, dpi), Scale(at96.right, dpi),
              Scale(at96.bottom, dpi)};
}

// The dpi that new windows get, before they stand anywhere.
int SystemDpi();

// The dpi `window` is drawn at: its monitor's where the system knows it, else the system's.
int DpiOf(HWND window);

// GetSystemMetrics as it would answer at `dpi`.
int MetricAt(int index, int dpi);

// The window rectangle around a client area of `client` pixels, with the frame of `dpi`.
SIZE FrameAround(SIZE client, DWORD style, DWORD exStyle, int dpi);

// Sizes `window` so that its client area is `client`, whatever its frame turned out to be (the
// frame a system draws at a dpi is not always the one it computes for it).
void SetClientSize(HWND window, SIZE client);

// The new dpi and the suggested rectangle of a WM_DPICHANGED.
struct DpiChange {
  int dpi;
  RECT suggested;
};
DpiChange ReadDpiChange(WPARAM wParam, LPARAM lParam);

// Moves a window to the rectangle a WM_DPICHANGED suggests.
void MoveToSuggested(HWND window, const RECT& suggested);
// Moves a window of a size of its own (the user's) there, with its client area scaled from the
// old dpi to the new.
void MoveToSuggested(HWND window, const DpiChange& change, int oldDpi);

}  // namespace pellix::win32
