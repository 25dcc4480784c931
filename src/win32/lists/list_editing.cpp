#include "win32/lists/list_editing.h"

#include <algorithm>
#include <utility>

#include "core/app/window_rules.h"
#include "core/lists/bulk_commands.h"
#include "core/lists/edit_session.h"
#include "core/lists/list_commands.h"
#include "core/lists/unicode_commands.h"
#include "core/memo/memo_drop.h"
#include "core/text/codec.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/error_reporter.h"
#include "win32/ui/input_dialog.h"

namespace pellix::win32 {

void ListEditing::Attach(HWND window) {
  window_ = window;
  ListPane& lists = context_.lists;
  drag_.Attach(window,
               ListDrag::Targets{lists.Views().ListBox().Handle(), lists.Selector(),
                                 [this] { return memo_.field ? memo_.field() : nullptr; }},
               ListDrag::Drops{[this](int from, int onto) {
                                 if (context_.lists.Views().Searching()) {
                                   return;  // rows are no places in the list while searching
                                 }
                                 RunOnAnsi([&](lists::ListStore& store, std::size_t list,
                                               const lists::ViewState& view) {
                                   return lists::DragWithinList(store, list, view,
                                                                lists::IndexFrom(from),
                                                                lists::IndexFrom(onto));
                                 });
                               },
                               [this](int from) {
                                 dragged_ = from;
                                 context_.lists.ShowDropbox();
                               },
                               [this](int, HWND) { DropOnMemo(); }});
}

void ListEditing::DropOnMemo() {
  // Drags start only in the ordinary list: the Unicode list's items never reach the memo.
  const auto list = context_.model.lists.AnsiShown();
  if (!memo_.insertAtTop || !list) {
    return;
  }
  const auto& items = context_.model.lists.Slot(*list).items;
  std::vector<std::string> dropped;
  for (const std::size_t index : context_.lists.Views().SelectedItems(false)) {
    dropped.emplace_back(items.at(index));
  }
  memo_.insertAtTop(memo::MemoDropText(dropped, context_.model.view.pasteOption));
}

void ListEditing::AttachEditBox(EditBox* editBox) {
  editBox_ = editBox;
  editBox_->SetActions(EditBox::Actions{
      [this](const std::wstring& text) { WriteBack(text); },
      [this] { context_.lists.Views().FocusShownList(); },
      [this](const std::wstring& text) { context_.pasteText(FromWide(text)); },
      [this](const std::wstring& text) { context_.putOnClipboard(FromWide(text)); },
      [this] { context_.lists.EnableListCommands(false); }});
}

void ListEditing::AddCommands(CommandTable& commands) {
  app::Model& model = context_.model;
  const auto on = [this] { return CommandsOn(); };
  // Moving and splitting work by position in the whole list, which a search does not show.
  const auto byPosition = [this] { return CommandsOn() && !context_.lists.Views().Searching(); };
  const auto notSearching = [this] { return !context_.lists.Views().Searching(); };
  const auto onItem = [this] { return CommandsOn() && context_.lists.MenuOnItem(); };
  const auto menuOnItem = [this] { return context_.lists.MenuOnItem(); };
  commands.Bind(
      kCmdDelete,
      [this, &model] {
        if (UnicodeHasFocus()) {
          RunOnUnicode(lists::wdelact);
          return;
        }
        RunOnAnsi([&](lists::ListStore& store, std::size_t list, const lists::ViewState& view) {
          return lists::dellistitem(store, list, view, model.lockFlag);
        });
      },
      onItem);
  commands.Bind(
      kCmdClear,
      [this, &model] {
        if (context_.lists.Views().Searching()) {
          ClearShown();
          return;
        }
        if (UnicodeHasFocus()) {
          RunOnUnicode(lists::wclearact);
          return;
        }
        RunOnAnsi([&model](lists::ListStore&, std::size_t list, const lists::ViewState& view) {
          return app::ClearOrdinaryList(model, list, view);
        });
      },
      [this] { return CommandsOn() && context_.lists.MenuHasItems(); });
  commands.Bind(
      kCmdClearBackHalf, [this] { RunOnAnsi(lists::crearh); }, notSearching);
  commands.Bind(
      kCmdItemUp, [this] { RunOnAnsi(lists::itemup); }, byPosition);
  commands.Bind(
      kCmdItemDown, [this] { RunOnAnsi(lists::itemdown); }, byPosition);
  commands.Bind(
      kCmdExpand, [this] { RunOnAnsi(lists::aexpand); }, byPosition);
  commands.Bind(
      kCmdSort,
      [this] {
        RunOnAnsi([this](lists::ListStore& store, std::size_t list, const lists::ViewState& view) {
          return lists::asort(store, list, view, context_.services);
        });
      },
      menuOnItem);
  commands.Bind(
      kCmdReplace, [this] { Replace(); },
      [onItem, notSearching] { return onItem() && notSearching(); });
  commands.Bind(
      kCmdDropSelector, [this] { DropSelector(); }, on);
  commands.Bind(kCmdLock, [this, &model] { context_.setLock(!model.lockFlag); });
  commands.Bind(
      kCmdEdit, [this] { OpenEditBox(); }, menuOnItem);
  commands.Bind(kCmdUnicodeDelete, [this] { RunOnUnicode(lists::wdelact); });
  commands.Bind(
      kCmdUnicodeClearBackHalf, [this] { RunOnUnicode(lists::wclearhact); }, notSearching);
  commands.Bind(kCmdUnicodeClear, [this] { RunOnUnicode(lists::wclearact); });
}

void ListEditing::RunOnAnsi(const AnsiCommand& command) {
  const auto list = lists::EditableList(context_.model.lists);
  if (!list) {
    return;  // the Unicode list is shown, or no list at all
  }
  context_.lists.Views().ShowEdit(
      false, command(context_.model.lists, *list, context_.lists.Views().ReadItems(false)));
}

void ListEditing::RunOnUnicode(const UnicodeCommand& command) {
  if (!context_.lists.Views().UnicodeShown()) {
    return;
  }
  context_.lists.Views().ShowEdit(
      true, command(context_.model.lists, context_.lists.Views().ReadItems(true)));
}

void ListEditing::ClearShown() {
  const search::ListSearch& search = context_.lists.Views().Search();
  if (const auto result = app::ClearSearchResults(context_.model, search)) {
    context_.lists.Views().ShowEdit(search.List()->unicode, *result);
  }
}

bool ListEditing::UnicodeHasFocus() const {
  // The search field stands for the list it searches.
  const HWND focus = GetFocus();
  return focus == context_.lists.Views().TntListBox1().Handle() ||
         (focus != nullptr && focus == context_.lists.SearchFieldHandle() &&
          context_.lists.Views().UnicodeShown());
}

void ListEditing::MoveDraggedTo(std::size_t target) {
  const int from = std::exchange(dragged_, -1);
  RunOnAnsi([&](lists::ListStore& store, std::size_t list, const lists::ViewState& view) {
    return lists::MoveToList(store, list, view, context_.lists.Views().ItemAt(false, from), target,
                             context_.services);
  });
  if (target < context_.model.lists.Count() &&
      lists::IsUnicodeListName(context_.model.lists.Slot(target).name)) {
    context_.lists.Views().ItemsChanged(true);  // harmless while the Unicode list is covered
  }
  context_.lists.Views().FocusShownList();
}

void ListEditing::Replace() {
  if (!lists::EditableList(context_.model.lists)) {
    return;
  }
  std::optional<std::wstring> search;
  std::optional<std::wstring> replacement;
  {
    const ModalLoops::Scope scope(context_.loops);
    search = AskText(window_, L"部分文字列の一括置換", L"対象文字列", L"");
  }
  if (!search || search->empty() || context_.loops.Closing()) {
    return;
  }
  {
    const ModalLoops::Scope scope(context_.loops);
    replacement = AskText(window_, L"置換文字列", L"置換文字列", L"");
  }
  if (!replacement || context_.loops.Closing()) {
    return;
  }
  RunOnAnsi([&](lists::ListStore& store, std::size_t list, const lists::ViewState& view) {
    return lists::aplace(store, list, view, FromWide(*search), FromWide(*replacement),
                         context_.services);
  });
}

void ListEditing::DropSelector() {
  const HWND selector = context_.lists.Selector();
  if (IsWindowVisible(window_) && IsWindowVisible(context_.lists.Views().ListBox().Handle())) {
    SetFocus(selector);
  }
  SendMessageW(selector, CB_SHOWDROPDOWN, TRUE, 0);
}

void ListEditing::OpenEditBox() {
  if (editBox_ == nullptr) {
    return;
  }
  const bool unicode = context_.lists.Views().UnicodeShown();
  const std::optional<std::u16string> text = lists::OpenFocusedItem(
      context_.model.lists,
      context_.lists.Views().ItemAt(unicode, context_.lists.Views().Shown().FocusedIndex()),
      context_.services);
  if (!text) {
    ShowBox(context_.loops, window_, L"編集できません(;_;)", kAppTitle, MB_OK);
    return;
  }
  RECT main{};
  GetWindowRect(window_, &main);
  editBox_->Open(ToWide(*text), main);
}

void ListEditing::WriteBack(const std::wstring& text) {
  const std::optional<lists::WriteBack> written =
      lists::WriteOpenedItem(context_.model.lists, FromWide(text), context_.services);
  if (!written) {
    return;
  }
  ShownLists& lists = context_.lists.Views();
  const bool unicode = written->place.list.unicode;
  const bool shown = unicode ? lists.UnicodeShown()
                             : !lists.UnicodeShown() &&
                                   context_.model.lists.AnsiShown() == written->place.list.slot;
  if (!shown) {
    return;
  }
  VirtualListView& view = unicode ? lists.TntListBox1() : lists.ListBox();
  if (lists.Searching()) {
    // The text written back may hold the words typed or not: the rows are found again.
    lists.ItemsChanged(unicode);
  } else if (written->inserted) {
    view.InsertedAtTop(unicode ? context_.model.lists.UnicodeItems().size()
                               : context_.model.lists.Slot(written->place.list.slot).items.size(),
                       1);
  } else {
    view.RedrawItem(static_cast<int>(written->place.index));
  }
  // Back in the list, the item with the focus mark is selected again.
  if (const int focused = view.FocusedIndex(); focused >= 0) {
    view.SetItemSelected(focused, true);
  }
}

}  // namespace pellix::win32
