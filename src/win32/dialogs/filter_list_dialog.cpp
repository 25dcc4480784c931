#include "win32/dialogs/filter_list_dialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "core/list_admin/filter_list_commands.h"
#include "core/text/codec.h"
#include "win32/dialogs/dialog_controls.h"
#include "win32/platform/common_dialogs.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/command_texts.h"
#include "win32/ui/default_button.h"
#include "win32/ui/fonts.h"
#include "win32/ui/input_dialog.h"
#include "win32/ui/kept_focus.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"FilterListDialog";
constexpr SIZE kClientSize{224, 190};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr int kTopBelowMain = 20;

// The longest path the file dialog hands back.
constexpr std::size_t kPathCapacity = 32768;

}  // namespace

void FilterListDialog::Make() {
  dpi_ = SystemDpi();
  const SIZE frame = FrameAround(SIZE{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)},
                                 kStyle, kExStyle, dpi_);
  CreateOf(kClassName, L"フィルター設定", kStyle, kExStyle, RECT{0, 0, frame.cx, frame.cy},
           context_.mainWindow);
  CreateControls();
  SetDpi(DpiOf(Handle()));
  ShowRows(context_.model.lists.Count() > 0 ? std::optional<std::size_t>(0) : std::nullopt);
  NoteMade();
}

void FilterListDialog::CreateControls() {
  const HWND self = Handle();
  // Created in the order the Tab key visits them: the list, then the buttons top to bottom.
  const RECT listBounds{8, 8, 128, 161};
  filterList_ =
      CreateControl(self, WC_LISTBOXW, L"",
                    WS_BORDER | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    kIdFilterList, listBounds, dpi_, nullptr);
  // Invisible, but the name screen readers give the list.
  SetWindowTextW(filterList_, L"フィルター一覧");
  layout_.Add(filterList_, listBounds);
  const auto button = [&](int id, RECT bounds) {
    layout_.Add(CreateControl(self, WC_BUTTONW, FilterListButtonCaption(id), WS_TABSTOP, id, bounds,
                              dpi_, nullptr),
                bounds);
  };
  button(kIdFilterLoad, RECT{136, 8, 216, 30});
  button(kIdFilterNew, RECT{136, 32, 216, 54});
  button(kIdFilterRename, RECT{136, 56, 216, 78});
  button(kIdFilterEdit, RECT{136, 80, 216, 102});
  button(kIdFilterDelete, RECT{136, 104, 216, 126});
  button(kIdFilterUp, RECT{136, 136, 174, 158});
  button(kIdFilterDown, RECT{136, 160, 174, 182});
  button(IDOK, RECT{178, 136, 216, 182});
  SendMessageW(GetDlgItem(self, IDOK), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
}

void FilterListDialog::SetDpi(int dpi) {
  dpi_ = dpi;
  // The controls take the new font before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi_);
  SetClientSize(Handle(), SIZE{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)});
  layout_.Apply(Handle(), dpi_, font.Get());
  font_ = std::move(font);
}

void FilterListDialog::AttachEditor(FilterEditor& editor) {
  editor_ = &editor;
  editor.SetActions(FilterEditor::Actions{[this](std::size_t row) {
                                            context_.listsChanged(false, false);
                                            ShowAgain(row);
                                          },
                                          [this] { ShowAgain(SelectedRow()); }});
}

void FilterListDialog::ShowRows(std::optional<std::size_t> selected) {
  SendMessageW(filterList_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(filterList_, LB_RESETCONTENT, 0, 0);
  const lists::ListStore& store = context_.model.lists;
  for (std::size_t i = 0; i < store.Count(); ++i) {
    const std::wstring name = ToWide(text::Cp932ToUtf16(context_.services, store.Slot(i).name));
    SendMessageW(filterList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageW(filterList_, LB_SETCURSEL,
               selected && *selected < store.Count() ? *selected : WPARAM(-1), 0);
  SendMessageW(filterList_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(filterList_, nullptr, TRUE);
}

std::optional<std::size_t> FilterListDialog::SelectedRow() const {
  const LRESULT row = SendMessageW(filterList_, LB_GETCURSEL, 0, 0);
  if (row == LB_ERR || static_cast<std::size_t>(row) >= context_.model.lists.Count()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(row);
}

void FilterListDialog::Open() {
  if (Handle() == nullptr) {
    Make();
  }
  ShowRows(SelectedRow());
  RECT main{};
  GetWindowRect(context_.mainWindow, &main);
  RECT window{};
  GetWindowRect(Handle(), &window);
  SetWindowPos(Handle(), HWND_TOPMOST, main.right - (window.right - window.left),
               main.top + Scale(kTopBelowMain, dpi_), 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
  SetFocus(filterList_);
}

void FilterListDialog::ShowAgain(std::optional<std::size_t> selected) {
  ShowRows(selected);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
  SetFocus(filterList_);
}

void FilterListDialog::Hide() {
  ShowWindow(Handle(), SW_HIDE);
  if (editor_ == nullptr || !editor_->IsVisible()) {
    ShowWindow(context_.mainWindow, SW_SHOWNORMAL);
    SetForegroundWindow(context_.mainWindow);
  }
}

void FilterListDialog::NoteUnicodeRow() {
  context_.model.lists.NoteUnicodeCaptureNames();
}

void FilterListDialog::CloseByTitleBar() {
  NoteUnicodeRow();
  context_.saver.WriteSettings(context_.model);
  Hide();
}

void FilterListDialog::Load() {
  std::vector<wchar_t> path(kPathCapacity, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = Handle();
  dialog.lpstrFilter = L"フィルターファイル(*.flt)\0*.flt\0";
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrInitialDir = context_.exeDir.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  BOOL chosen = FALSE;
  {
    const ModalLoops::Scope scope(context_.loops);
    chosen = OpenFileDialog(&dialog);
  }
  if (!chosen || context_.loops.Closing()) {
    return;
  }
  const list_admin::LoadOutcome outcome =
      list_admin::LoadList(context_.model.lists, context_.files, context_.folder, context_.services,
                           FromWide(path.data()));
  if (outcome.refusal) {
    ShowRefusal(context_.loops, Handle(), *outcome.refusal);
    SetFocus(filterList_);  // the box's end may not give it back
    return;
  }
  context_.listsChanged(false, false);
  ShowRows(SelectedRow());
}

void FilterListDialog::OpenEditor(bool newFilter) {
  const std::optional<std::size_t> row = SelectedRow();
  if (editor_ == nullptr || (!newFilter && !row)) {
    return;
  }
  RECT self{};
  GetWindowRect(Handle(), &self);
  if (newFilter) {
    editor_->OpenNew(self);
  } else {
    NoteUnicodeRow();
    editor_->OpenList(*row, self);
  }
  Hide();
}

void FilterListDialog::Rename() {
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) {
    return;
  }
  const std::string oldName = context_.model.lists.Slot(*row).name;
  std::optional<std::wstring> entered;
  {
    const ModalLoops::Scope scope(context_.loops);
    entered = AskText(Handle(), L"新しい名前は", L"",
                      ToWide(text::Cp932ToUtf16(context_.services, oldName)));
  }
  if (context_.loops.Closing()) {
    return;
  }
  const std::string newName =
      entered ? text::Utf16ToCp932(context_.services, FromWide(*entered)) : oldName;
  const list_admin::RenameOutcome outcome = list_admin::RenameList(
      context_.model.lists, context_.files, context_.folder, context_.services, *row, newName);
  if (outcome.refusal) {
    ShowRefusal(context_.loops, Handle(), *outcome.refusal);
    SetFocus(filterList_);  // the box's end may not give it back
    return;
  }
  if (outcome.renamed) {
    context_.listsChanged(false, false);
    ShowRows(row);
  }
}

void FilterListDialog::Delete() {
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) {
    return;
  }
  const list_admin::DeleteOutcome outcome = list_admin::DeleteList(context_.model.lists, *row);
  ShowRows(std::nullopt);
  context_.listsChanged(outcome.currentChanged, outcome.ansiViewEmptied);
}

void FilterListDialog::Move(bool up) {
  const std::optional<std::size_t> row = SelectedRow();
  if (!row) {
    return;
  }
  const std::optional<std::size_t> moved = list_admin::MoveList(
      context_.model.lists, *row, up ? list_admin::Direction::kUp : list_admin::Direction::kDown);
  if (moved) {
    ShowRows(moved);
    context_.listsChanged(false, false);
  }
}

LRESULT FilterListDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) != BN_CLICKED || reinterpret_cast<HWND>(lParam) == filterList_) {
        break;
      }
      switch (LOWORD(wParam)) {
        case kIdFilterLoad:
          Load();
          return 0;
        case kIdFilterNew:
          OpenEditor(true);
          return 0;
        case kIdFilterRename:
          Rename();
          return 0;
        case kIdFilterEdit:
          OpenEditor(false);
          return 0;
        case kIdFilterDelete:
          Delete();
          return 0;
        case kIdFilterUp:
          Move(true);
          return 0;
        case kIdFilterDown:
          Move(false);
          return 0;
        case IDOK:
          Hide();
          return 0;
        case IDCANCEL:  // Esc, as the title bar's close
          CloseByTitleBar();
          return 0;
        default:
          break;
      }
      break;
    case WM_ACTIVATE:
      keptFocus_.OnActivate(Handle(), wParam, filterList_);
      return 0;
    case DM_GETDEFID:
      return DefaultButtonAnswer(Handle(), IDOK);
    case WM_CLOSE:
      CloseByTitleBar();
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
