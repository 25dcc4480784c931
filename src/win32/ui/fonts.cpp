#include "win32/ui/fonts.h"

#include <array>

namespace pellix::win32 {
namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  const WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.Get(), &query, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

std::wstring AvailableFace(const std::wstring& preferred) {
  if (FaceInstalled(preferred)) {
    return preferred;
  }
  const bool fixed = preferred == kFixedGothic;
  // Faces with Japanese glyphs, the preferred kind of pitch first.
  const std::array<const wchar_t*, 8> standIns = {
      fixed ? L"MS Gothic" : L"MS PGothic",
      L"MS UI Gothic",
      fixed ? L"IPAGothic" : L"IPAPGothic",
      fixed ? L"IPAPGothic" : L"IPAGothic",
      L"Meiryo UI",
      L"Yu Gothic UI",
      L"Noto Sans CJK JP",
      L"Droid Sans Fallback",
  };
  for (const wchar_t* face : standIns) {
    if (FaceInstalled(face)) {
      return face;
    }
  }
  return L"MS Shell Dlg 2";
}

UniqueFont CreateUiFont(const std::wstring& preferredFace, int heightAt96, int dpi) {
  LOGFONTW font{};
  font.lfHeight = Scale(heightAt96, dpi);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  AvailableFace(preferredFace).copy(font.lfFaceName, LF_FACESIZE - 1);
  return UniqueFont(CreateFontIndirectW(&font));
}

UniqueFont RescaleFont(HFONT font, int fromDpi, int toDpi) {
  LOGFONTW description{};
  if (font == nullptr || GetObjectW(font, sizeof description, &description) == 0) {
    return UniqueFont();
  }
  description.lfHeight = MulDiv(description.lfHeight, toDpi, fromDpi);
  description.lfWidth = MulDiv(description.lfWidth, toDpi, fromDpi);
  return UniqueFont(CreateFontIndirectW(&description));
}

}  // namespace pellix::win32
