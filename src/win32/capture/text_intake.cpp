#include "win32/capture/text_intake.h"

#include <shellapi.h>

#include <vector>

#include "core/capture/file_drop.h"
#include "core/capture/text_import.h"
#include "win32/capture/capture_controller.h"
#include "win32/platform/common_dialogs.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"

namespace pellix::win32 {
namespace {

// Room for a path of any length the file dialog may give.
constexpr std::size_t kPathRoom = 32768;

constexpr wchar_t kFileFilter[] =
    L"テキストファイル(*.txt)\0*.txt\0HTML(*.html;*.htm)\0*.html;*.htm\0すべてのファイル(*.*)\0*.*"
    L"\0";

// Owns a drop's handle until the drop has been read.
class DropHandle {
 public:
  explicit DropHandle(HDROP drop) : drop_(drop) {}
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;
  ~DropHandle() { DragFinish(drop_); }

  std::vector<std::u16string> Paths() const {
    std::vector<std::u16string> paths;
    const UINT count = DragQueryFileW(drop_, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      // Asked for its length first: a path may be longer than MAX_PATH.
      std::wstring path(DragQueryFileW(drop_, i, nullptr, 0) + 1, L'\0');
      path.resize(DragQueryFileW(drop_, i, path.data(), static_cast<UINT>(path.size())));
      paths.push_back(FromWide(path));
    }
    return paths;
  }

 private:
  HDROP drop_;
};

}  // namespace

void TextIntake::Attach(HWND window) {
  window_ = window;
  DragAcceptFiles(window, TRUE);
}

void TextIntake::AddCommands(CommandTable& commands) {
  commands.Bind(kCmdImportText, [this] { ImportText(); });
}

std::optional<std::wstring> TextIntake::AskForFile() {
  std::wstring path(kPathRoom, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = kFileFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
  BOOL chosen = FALSE;
  {
    const ModalLoops::Scope scope(loops_);
    chosen = OpenFileDialog(&dialog);
  }
  if (!chosen || loops_.Closing()) {
    return std::nullopt;
  }
  path.resize(path.find(L'\0'));
  return path;
}

void TextIntake::ImportText() {
  const int answer = ShowBox(loops_, window_, L"テキストを振り分け処理しますか？", L"確認",
                             MB_YESNOCANCEL | MB_ICONQUESTION);
  if ((answer == IDYES || answer == IDNO) && !loops_.Closing()) {
    if (const std::optional<std::wstring> path = AskForFile()) {
      // A file that cannot be read is reported by the error handler; no list has changed.
      const std::string bytes = files_.ReadAll(FromWide(*path));
      if (answer == IDYES) {
        if (const auto run =
                capture::SortImportedFile(model_.lists, model_.lastText, services_, bytes)) {
          lists_.ShowInsertions(run->inserted);
          if (run->failed) {
            PostMessageW(window_, kMsgFilterFailed, 0, 0);
          }
        }
      } else {
        // At the current item of the whole list, also while a search shows only some.
        if (const auto inserted = capture::InsertImportedFile(
                model_.lists, lists_.ReadItems(lists_.UnicodeShown()), services_, bytes)) {
          lists_.ShowEdit(inserted->list.unicode, inserted->result);
        }
      }
    }
  }
  if (!lists_.UnicodeShown()) {
    lists_.FocusShownList();
  }
}

void TextIntake::OnDropFiles(HDROP drop) {
  std::vector<std::u16string> paths;
  {
    const DropHandle handle(drop);
    paths = handle.Paths();
  }
  if (const auto run =
          capture::SortDroppedFiles(model_.lists, model_.lastText, services_, std::move(paths))) {
    lists_.ShowInsertions(run->inserted);
    if (run->failed) {
      PostMessageW(window_, kMsgFilterFailed, 0, 0);
    }
  }
}

}  // namespace pellix::win32
