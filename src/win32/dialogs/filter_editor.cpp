#include "win32/dialogs/filter_editor.h"

#include <commctrl.h>

#include <climits>
#include <string>

#include "core/list_admin/filter_editor_commit.h"
#include "core/text/codec.h"
#include "win32/dialogs/dialog_controls.h"
#include "win32/platform/wide_string.h"
#include "win32/ui/control_ids.h"
#include "win32/ui/default_button.h"
#include "win32/ui/fonts.h"
#include "win32/ui/kept_focus.h"
#include "win32/ui/unseen_label.h"

namespace pellix::win32 {
namespace {

constexpr wchar_t kClassName[] = L"FilterEditor";
constexpr SIZE kClientSize{466, 451};
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

constexpr int kLabelId = -1;

// Design rows at 96 dpi.
constexpr int kLabelLeft = 12;
constexpr int kFieldLeft = 110;
constexpr int kCountLeft = 384;
constexpr int kRowHeight = 21;
constexpr int kReplacementTop = 282;
constexpr int kReplacementPitch = 20;

}  // namespace

FilterEditor::FilterEditor(ErrorSink& errors, Context context, HWND owner)
    : Window(errors), context_(context), owner_(owner) {}

void FilterEditor::Make() {
  // Made when it first opens, its fifty-odd controls and all: made at start-up they would cost
  // the program time before its window could show, for a dialog that is seldom used.
  dpi_ = SystemDpi();
  const SIZE frame = FrameAround(SIZE{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)},
                                 kStyle, kExStyle, dpi_);
  CreateOf(kClassName, L"フィルター編集", kStyle, kExStyle, RECT{0, 0, frame.cx, frame.cy}, owner_);
  CreateControls();
  SetDpi(DpiOf(Handle()));
  NoteMade();
}

void FilterEditor::SetDpi(int dpi) {
  dpi_ = dpi;
  SetClientSize(Handle(), SIZE{Scale(kClientSize.cx, dpi_), Scale(kClientSize.cy, dpi_)});
  // The controls take the new font before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi_);
  layout_.Apply(Handle(), dpi_, font.Get());
  font_ = std::move(font);
  // The arrows stand beside their field wherever it went.
  for (const auto& [arrows, field] : arrows_) {
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(field), 0);
  }
}

void FilterEditor::CreateControls() {
  const HWND self = Handle();
  int id = kIdFilterEditorFirstField;
  // Each control is created in the order the Tab key visits it, a field after its label.
  const auto placed = [this](HWND control, RECT bounds) {
    layout_.Add(control, bounds);
    return control;
  };
  const auto label = [&](const wchar_t* text, RECT bounds) {
    placed(CreateControl(self, WC_STATICW, text, SS_LEFT, kLabelId, bounds, dpi_, nullptr), bounds);
  };
  const auto field = [&](RECT bounds) {
    return placed(CreateControl(self, WC_EDITW, L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, id++,
                                bounds, dpi_, nullptr),
                  bounds);
  };
  const auto check = [&](const wchar_t* text, RECT bounds) {
    return placed(CreateControl(self, WC_BUTTONW, text, WS_TABSTOP | BS_AUTOCHECKBOX, id++, bounds,
                                dpi_, nullptr),
                  bounds);
  };
  // A count: a field with arrows beside it, as far as a 32-bit integer goes either way.
  const auto count = [&](int top) {
    const HWND edit = field(RECT{kCountLeft, top, kCountLeft + 62, top + kRowHeight});
    const HWND arrows = CreateWindowExW(
        0, UPDOWN_CLASSW, L"",
        WS_CHILD | WS_VISIBLE | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_NOTHOUSANDS,
        0, 0, 0, 0, self, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageW(arrows, UDM_SETRANGE32, INT_MIN + 1, INT_MAX);
    arrows_.emplace_back(arrows, edit);
    return edit;
  };

  label(L"フィルター名", RECT{kLabelLeft, 15, kFieldLeft, 31});
  name_ = field(RECT{kFieldLeft, 12, 330, 12 + kRowHeight});
  label(L"タイプ", RECT{kLabelLeft, 45, kFieldLeft, 61});
  type_ = placed(CreateControl(self, WC_COMBOBOXW, L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                               id++, RECT{kFieldLeft, 42, 260, 162}, dpi_, nullptr),
                 RECT{kFieldLeft, 42, 260, 162});
  for (const std::u16string_view item : list_admin::kFilterTypeNames) {
    const std::wstring text = ToWide(item);
    SendMessageW(type_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  perLine_ = check(L"改行ごとに処理", RECT{280, 42, 440, 42 + kRowHeight});

  label(L"チェック文字列１", RECT{kLabelLeft, 99, kFieldLeft, 115});
  astring_ = field(RECT{kFieldLeft, 96, 370, 96 + kRowHeight});
  // The one "個数" over both counts names the first; the second gets a name of its own.
  label(L"個数", RECT{kCountLeft, 78, kCountLeft + 60, 94});
  acount_ = count(96);
  label(L"チェック文字列２", RECT{kLabelLeft, 127, kFieldLeft, 143});
  bstring_ = field(RECT{kFieldLeft, 124, 370, 124 + kRowHeight});
  AddUnseenLabel(self, L"個数");
  bcount_ = count(124);
  label(L"（↑文字列欄に複数の文字列を入力する場合は、半角スペースで、区切ってください）",
        RECT{kLabelLeft, 152, 460, 168});

  label(L"限定文字　", RECT{kLabelLeft, 183, kFieldLeft, 199});
  cstring_ = field(RECT{kFieldLeft, 180, 300, 180 + kRowHeight});
  label(L"（指定文字を連続入力）", RECT{306, 183, 460, 199});

  label(L"オプション", RECT{kLabelLeft, 214, 200, 230});
  zen_ = check(L"全角英数字を半角に", RECT{24, 232, 164, 252});
  caps_ = check(L"大文字を小文字に", RECT{170, 232, 300, 252});
  small_ = check(L"小文字を大文字に", RECT{306, 232, 440, 252});

  label(L"文字列の置換", RECT{kLabelLeft, 262, 200, 278});
  for (int row = 0; row < static_cast<int>(filters::kReplacementRows); ++row) {
    const int top = kReplacementTop + row * kReplacementPitch;
    const std::wstring number = std::to_wstring(row + 1);
    AddUnseenLabel(self, (L"置換前の文字列" + number).c_str());
    exfrom_.push_back(field(RECT{24, top, 174, top + 19}));
    label(L"→", RECT{180, top + 2, 200, top + 18});
    AddUnseenLabel(self, (L"置換後の文字列" + number).c_str());
    exto_.push_back(field(RECT{204, top, 354, top + 19}));
  }
  placed(CreateControl(self, WC_BUTTONW, L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK,
                       RECT{370, 404, 450, 432}, dpi_, nullptr),
         RECT{370, 404, 450, 432});
}

void FilterEditor::OpenNew(const RECT& listDialog) {
  if (Handle() == nullptr) {
    Make();
  }
  ShowFields(list_admin::FieldsForNewFilter(ReadFields()));
  editIndex_ = context_.model.lists.Count();
  Show(listDialog);
}

void FilterEditor::OpenList(std::size_t index, const RECT& listDialog) {
  if (Handle() == nullptr) {
    Make();
  }
  ShowFields(list_admin::FieldsForList(context_.model.lists, index));
  editIndex_ = index;
  Show(listDialog);
}

void FilterEditor::Show(const RECT& listDialog) {
  RECT window{};
  GetWindowRect(Handle(), &window);
  const int width = window.right - window.left;
  SetWindowPos(Handle(), HWND_TOPMOST, listDialog.right - width, listDialog.top, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(Handle());
  SetFocus(name_);
  SendMessageW(name_, EM_SETSEL, 0, -1);
}

void FilterEditor::ShowFields(const list_admin::EditorFields& fields) {
  const auto setText = [this](HWND control, const std::string& text) {
    SetWindowTextW(control, ToWide(text::Cp932ToUtf16(context_.services, text)).c_str());
  };
  const auto setCheck = [](HWND control, bool on) {
    SendMessageW(control, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  };
  setText(name_, fields.name);
  SendMessageW(type_, CB_SETCURSEL, fields.type ? static_cast<WPARAM>(*fields.type) : WPARAM(-1),
               0);
  setCheck(perLine_, fields.perLine);
  setText(astring_, fields.astring);
  setText(acount_, fields.acount);
  setText(bstring_, fields.bstring);
  setText(bcount_, fields.bcount);
  setText(cstring_, fields.cstring);
  setCheck(zen_, fields.zen);
  setCheck(caps_, fields.caps);
  setCheck(small_, fields.small);
  for (std::size_t row = 0; row < filters::kReplacementRows; ++row) {
    setText(exfrom_[row], fields.exfrom[row]);
    setText(exto_[row], fields.exto[row]);
  }
}

list_admin::EditorFields FilterEditor::ReadFields() const {
  const auto text = [this](HWND control) {
    return text::Utf16ToCp932(context_.services, FromWide(ControlText(control)));
  };
  const auto checked = [](HWND control) {
    return SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  list_admin::EditorFields fields;
  fields.name = text(name_);
  const LRESULT type = SendMessageW(type_, CB_GETCURSEL, 0, 0);
  if (type != CB_ERR) {
    fields.type = static_cast<int>(type);
  }
  fields.perLine = checked(perLine_);
  fields.astring = text(astring_);
  fields.acount = text(acount_);
  fields.bstring = text(bstring_);
  fields.bcount = text(bcount_);
  fields.cstring = text(cstring_);
  fields.zen = checked(zen_);
  fields.caps = checked(caps_);
  fields.small = checked(small_);
  for (std::size_t row = 0; row < filters::kReplacementRows; ++row) {
    fields.exfrom[row] = text(exfrom_[row]);
    fields.exto[row] = text(exto_[row]);
  }
  return fields;
}

void FilterEditor::Commit() {
  const list_admin::EditorOutcome outcome =
      list_admin::CommitEditor(context_.model.lists, context_.files, context_.folder,
                               context_.services, editIndex_, ReadFields());
  if (outcome.refusal) {
    ShowRefusal(context_.loops, Handle(), *outcome.refusal);
    // The fields stay for the user to mend, starting with the one the message is about.
    const HWND about = outcome.refusal->message == list_admin::kNoTypeMessage ? type_ : name_;
    keptFocus_.Set(about);
    SetFocus(about);
    if (about == name_) {
      SendMessageW(name_, EM_SETSEL, 0, -1);
    }
    return;
  }
  ShowWindow(Handle(), SW_HIDE);
  if (actions_.committed) {
    actions_.committed(outcome.index);
  }
}

void FilterEditor::Cancel() {
  ShowWindow(Handle(), SW_HIDE);
  if (actions_.cancelled) {
    actions_.cancelled();
  }
}

LRESULT FilterEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        Commit();
        return 0;
      }
      if (LOWORD(wParam) == IDCANCEL) {  // Esc, as the title bar's close
        Cancel();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      keptFocus_.OnActivate(Handle(), wParam, name_);
      return 0;
    case DM_GETDEFID:
      return DefaultButtonAnswer(Handle(), IDOK);
    case WM_CLOSE:
      Cancel();
      return 0;
    default:
      break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace pellix::win32
