#include "win32/tray/start_with_windows.h"

#include "win32/platform/module_path.h"
#include "win32/platform/shell_link.h"
#include "win32/ui/error_reporter.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kLinkName[] = L"pellix.lnk";

bool SamePath(const std::wstring& a, const std::wstring& b) {
  // File names ignore case on Windows.
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

StartWithWindows::StartWithWindows() : exePath_(ExecutablePath()) {}

std::optional<std::wstring> StartWithWindows::LinkPath(bool createFolder) const {
  const std::optional<std::wstring> folder = StartupFolder(createFolder);
  if (!folder) {
    return std::nullopt;
  }
  return *folder + L"\\" + kLinkName;
}

StartWithWindows::Existing StartWithWindows::Look(const std::wstring& linkPath) const {
  if (GetFileAttributesW(linkPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return {};
  }
  const std::optional<std::wstring> target = ShortcutTarget(linkPath);
  if (target && SamePath(*target, exePath_)) {
    return Existing{Found::kThisProgram, {}};
  }
  return Existing{Found::kOther, target.value_or(std::wstring())};
}

bool StartWithWindows::On() const {
  const std::optional<std::wstring> link = LinkPath(false);
  return link && Look(*link).found == Found::kThisProgram;
}

void StartWithWindows::Toggle(HWND owner, ModalLoops& loops) const {
  const std::optional<std::wstring> link = LinkPath(true);
  if (!link) {
    ShowBox(loops, owner, L"スタートアップのフォルダーが見つかりません", kAppTitle,
            MB_OK | MB_ICONERROR);
    return;
  }
  const Existing existing = Look(*link);
  switch (existing.found) {
    case Found::kThisProgram:
      if (!DeleteFileW(link->c_str())) {
        ShowBox(loops, owner, (L"ショートカットを削除できません\r\n" + *link).c_str(), kAppTitle,
                MB_OK | MB_ICONERROR);
      }
      return;
    case Found::kOther: {
      const std::wstring text =
          L"スタートアップには別の pellix を起動するショートカットがあります。"
          L"そのショートカットはそのままにします。\r\n\r\n" +
          *link + L"\r\n→ " + (existing.target.empty() ? L"（読み取れません）" : existing.target);
      ShowBox(loops, owner, text.c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
      return;
    }
    case Found::kNone:
      break;
  }
  const std::wstring dir = exePath_.substr(0, exePath_.find_last_of(L"\\/"));
  if (!WriteShortcut(*link, exePath_, dir, L"ぺりくす T&K")) {
    ShowBox(loops, owner, (L"ショートカットを作成できません\r\n" + *link).c_str(), kAppTitle,
            MB_OK | MB_ICONERROR);
  }
}

}  // namespace pellix::win32
