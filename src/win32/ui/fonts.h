#pragma once
// The fonts the windows ask for are the Japanese system's; where one is missing (under Wine, or
// on a Windows without the Japanese fonts) the first present Japanese-capable face stands in.

#include <string>

#include "win32/platform/dpi.h"
#include "win32/platform/gdi.h"

namespace pellix::win32 {

inline constexpr wchar_t kProportionalGothic[] = L"ＭＳ Ｐゴシック";
inline constexpr wchar_t kFixedGothic[] = L"ＭＳ ゴシック";

// The face that will be used for `preferred`: itself when installed, else a stand-in.
std::wstring AvailableFace(const std::wstring& preferred);

// A font of `heightAt96` pixels (negative: character height) scaled to `dpi`.
UniqueFont CreateUiFont(const std::wstring& preferredFace, int heightAt96, int dpi);

// The same font drawn at `toDpi` instead of `fromDpi`: face, style and character set kept.
UniqueFont RescaleFont(HFONT font, int fromDpi, int toDpi);

}  // namespace pellix::win32
