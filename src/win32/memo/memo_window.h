#pragma once
// The memo: a borderless, stay-on-top notepad beside the main window whose text is kept in
// memo.txt. Its text is read at start; its window is made when it is first shown (or dropped
// on), and from then on lives for the whole run and is only shown and hidden. Whatever the user
// typed is written as soon as the memo is left, hidden or closed, and at the end of the program.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/saver.h"
#include "core/io/app_folder.h"
#include "core/io/file_system.h"
#include "core/text/file_encoding.h"
#include "core/text/text_services.h"
#include "win32/platform/gdi.h"
#include "win32/ui/window.h"

namespace pellix::win32 {

class MemoWindow final : public Window {
 public:
  struct Files {
    const io::FileSystem& files;
    const io::AppFolder& folder;
    const text::TextServices& services;
  };

  // Loads memo.txt (none yet: an empty memo). Throws when the file is there but unreadable. The
  // window waits until it is first needed.
  MemoWindow(ErrorSink& errors, HWND owner, Files files);
  ~MemoWindow() override;

  // Runs whenever the memo becomes the active window: the keys then belong to the memo.
  void OnActivated(std::function<void()> activated) { activated_ = std::move(activated); }

  // Shown stay-on-top without taking the activation (made first, if it is not yet); hidden after
  // saving what was typed.
  void Show();
  void Hide();
  void SetShown(bool shown);

  // The text field, the target of a drop, while the memo is shown.
  HWND DropField() const { return IsVisible() ? field_ : nullptr; }

  // Code page 932 text put above the first line; written at once.
  void InsertAtTop(std::string_view dropText);

  // Whether the memo holds typing that is not written yet.
  bool HasUnsavedTyping() const;
  // The memo another instance sharing the folder wrote (the file's bytes), in place of this
  // one's, which holds no unsaved typing.
  void TakeOver(std::string_view bytes);

  // Writes the memo when it holds unsaved typing; a failure goes to the error sink.
  void SaveIfModified() noexcept;
  // The same at the end of the program, where a failure is the caller's to ask about.
  std::optional<app::SaveFailure> SaveForExit();

 private:
  void Make();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::u16string FieldText() const;
  void SetDpi(int dpi);
  void OnDpiChanged(int dpi) override { SetDpi(dpi); }
  void Write() noexcept;

  HWND owner_ = nullptr;
  Files files_;
  std::u16string unmadeText_;        // the text until the field that shows it is made
  text::DetectedEncoding encoding_;  // memo.txt's, kept when it is written back
  std::function<void()> activated_;
  int dpi_ = 96;
  UniqueFont font_;
  HWND field_ = nullptr;
};

}  // namespace pellix::win32
