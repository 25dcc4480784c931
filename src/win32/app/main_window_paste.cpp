// Pasting from the lists into the window that was in front.

#include "core/paste/paste_text.h"
#include "core/text/codec.h"
#include "win32/app/main_window.h"
#include "win32/capture/clipboard.h"
#include "win32/paste/clipboard_write.h"
#include "win32/paste/paste_target.h"

namespace pellix::win32 {

void MainWindow::OnTimerTick() {
  state_.pasteTarget = TrackForeground(
      state_.pasteTarget,
      {Handle(), owner_, editBox_, memo_, listBox_.Handle(), tntListBox1_.Handle()});
  // Published on the window, where a test (or a curious user's tool) can see where the next
  // paste will go.
  SetPropW(Handle(), L"PellixPasteTarget", state_.pasteTarget);
}

void MainWindow::SendCopy() {
  std::u16string text;
  if (IsWindowVisible(tntListBox1_.Handle())) {
    std::vector<std::u16string> items;
    for (const int index : tntListBox1_.SelectedIndices()) {
      items.push_back(store_.UnicodeItems().at(static_cast<std::size_t>(index)));
    }
    text = paste::BuildUnicodePasteText(items, trayMenu_.PasteOption());
  } else {
    const auto slot = store_.AnsiShown();
    if (!slot || listBox_.FocusedIndex() < 0) {
      return;
    }
    std::vector<std::string> items;
    for (const int index : listBox_.SelectedIndices()) {
      items.push_back(store_.Slot(*slot).items.at(static_cast<std::size_t>(index)));
    }
    state_.pastedSinceHotkey = true;
    text = text::Cp932ToUtf16(services_, paste::BuildAnsiPasteText(items, trayMenu_.PasteOption()));
  }
  if (text.empty()) {
    return;
  }
  state_.ownWrite = true;
  try {
    WriteClipboardText(Handle(), text);
  } catch (const ClipboardError&) {
    // Nothing reached the clipboard, so no notice of ours is coming: the next change is
    // someone else's and must be captured.
    state_.ownWrite = false;
    throw;
  }
  PasteToTarget(state_.pasteTarget, state_.sendTabFlag);
}

void MainWindow::PasteFromKey() {
  if (IsWindowVisible(tntListBox1_.Handle())) {
    SendCopy();
    return;
  }
  const int current = listBox_.FocusedIndex();
  const int top = ListView_GetTopIndex(listBox_.Handle());
  if (current >= 0) {
    listBox_.SetItemSelected(current, true);
  }
  SendCopy();
  if (current >= 0) {
    // Back to where the user was: the same item topmost, the key's item current and selected.
    const int nowTop = ListView_GetTopIndex(listBox_.Handle());
    RECT item{};
    if (nowTop != top && ListView_GetItemRect(listBox_.Handle(), 0, &item, LVIR_BOUNDS)) {
      ListView_Scroll(listBox_.Handle(), 0, (top - nowTop) * (item.bottom - item.top));
    }
    ListView_SetItemState(listBox_.Handle(), current, LVIS_SELECTED | LVIS_FOCUSED,
                          LVIS_SELECTED | LVIS_FOCUSED);
  }
}

void MainWindow::SetTabMode(bool on) {
  state_.sendTabFlag = on;
  SendMessageW(tabbox_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace pellix::win32
