#pragma once
// Pasting picked items into the window that was in front: the sampling of that window, the
// text under the paste option, the clipboard write and the keys, the typed paste, tab mode, and
// a word to the user when the keys cannot land.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/app/paste_notices.h"
#include "core/text/text_services.h"
#include "win32/paste/key_delivery.h"
#include "win32/platform/process_integrity.h"
#include "win32/ui/command_table.h"
#include "win32/ui/list_views.h"
#include "win32/ui/tray_notices.h"

namespace pellix::win32 {

class PasteController {
 public:
  PasteController(app::Model& model, ListViews& lists, const text::TextServices& services)
      : model_(model), lists_(lists), services_(services), delivery_(integrity_) {}

  // `notices` tells the user what became of a paste; `showTabMode` shows tab mode in its check
  // box.
  void Attach(HWND window, TrayNotices& notices, std::function<void(bool)> showTabMode);
  // Our own windows that are a place to paste into: the memo's field (not the memo window) and
  // the filter dialogs with their fields.
  void SetPasteableWindows(HWND memo, std::vector<HWND> dialogs);
  void AddCommands(CommandTable& commands);

  // Starts sampling the window in front once a second.
  void Start();
  void Stop();
  bool OnTimer(UINT_PTR id);

  void SendCopy();
  // Our own text onto the clipboard without a capture of it, then pasted into the target (the
  // edit box's コピー), or only put there (its カット).
  void PasteText(const std::u16string& text);
  void PutOnClipboard(const std::u16string& text);
  // Enter or Space in a list: the current item is pasted along with the selection, and the list
  // is left as the user had it.
  void PasteFromKey();
  void OnTabBoxClicked();
  void SetTabMode(bool on);

 private:
  void OnTimer1();
  bool Usable(HWND window) const;
  std::u16string TakeText();
  // キー入力で貼り付け: the same text typed as keys, the clipboard left alone.
  void TypeFromKey();
  // Brings the target forward and sends the paste keys, or types `typed` when given.
  void Deliver(const std::u16string* typed);
  void OnDelivered(paste::Outcome outcome, std::size_t typed, std::size_t total);
  void ShowInTip(const std::u16string& tip);

  app::Model& model_;
  ListViews& lists_;
  const text::TextServices& services_;
  HWND window_ = nullptr;
  TrayNotices* notices_ = nullptr;
  std::function<void(bool)> showTabMode_;
  HWND memo_ = nullptr;
  std::vector<HWND> dialogs_;
  HWND pasteTarget_ = nullptr;
  HWND publishedTarget_ = nullptr;
  // Declared before the delivery, which asks it.
  Win32ProcessIntegrity integrity_;
  KeyDelivery delivery_;
  bool typedPaste_ = false;  // the run under way types a text
  std::optional<app::TypingTip> typingTip_;
  bool tipChanged_ = false;  // the icon's tip says something of a paste
};

}  // namespace pellix::win32
