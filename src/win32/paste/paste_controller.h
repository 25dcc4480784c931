#pragma once
// Pasting picked items into the window that was in front: the sampling of that window, the
// text under the paste option, the clipboard write and the keys, and tab mode.

#include <windows.h>

#include <functional>

#include <vector>

#include "core/app/model.h"
#include "core/text/text_services.h"
#include "win32/ui/command_table.h"
#include "win32/ui/list_views.h"

namespace pellix::win32 {

class PasteController {
 public:
  PasteController(app::Model& model, ListViews& lists, const text::TextServices& services)
      : model_(model), lists_(lists), services_(services) {}

  // `showTabMode` shows tab mode in its check box.
  void Attach(HWND window, std::function<void(bool)> showTabMode);
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
  // Types the paste keys into `topLevel` once it is in front; waits for that without a loop of
  // its own, so nothing else the user does meanwhile can start a second paste.
  void PasteWhenInFront(HWND topLevel);
  void OnPasteWait();

  app::Model& model_;
  ListViews& lists_;
  const text::TextServices& services_;
  HWND window_ = nullptr;
  std::function<void(bool)> showTabMode_;
  HWND memo_ = nullptr;
  std::vector<HWND> dialogs_;
  HWND pasteTarget_ = nullptr;
  HWND publishedTarget_ = nullptr;
  HWND waitingFor_ = nullptr;  // a paste waits for this window to come to the front
  ULONGLONG waitDeadline_ = 0;
};

}  // namespace pellix::win32
