// The list window's controls, their layout at the window's dpi and the model's options shown on
// them: the part of the list window that is about how it looks.

#include "win32/shell/main_window.h"
#include "win32/ui/fonts.h"

namespace pellix::win32 {
namespace {

// Design layout at 96 dpi.
constexpr int kListTop = 20;

}  // namespace

void MainWindow::CreateControls() {
  const HWND self = Handle();
  windowFont_ = CreateUiFont(kProportionalGothic, -12, dpi_);
  const auto wideAgain = [this] {
    if (model_.view.wide) {
      view_.ApplyWideMode();
    }
  };
  lists_.Create(
      self, dpi_, windowFont_.Get(), ListBounds(),
      ListPane::Actions{[this] { paste_.PasteFromKey(); }, [this] { paste_.SendCopy(); }, wideAgain,
                        [this](std::size_t list) { editing_.MoveDraggedTo(list); },
                        [this](int item) { editing_.OnBeginDrag(item); },
                        [this](std::size_t list) { reads_.Finish(list); }});

  topRow_.Create(
      self, lists_.Selector(), lists_.Tooltips(),
      TopRow::Clicks{[this] { tray_.ShowTrayMenu(); }, [this] { paste_.OnTabBoxClicked(); },
                     [this] { view_.OnWideBoxClicked(); },
                     [this] {
                       model_.view.memo = !model_.view.memo;
                       TopRow::Check(topRow_.MemoBox(), model_.view.memo);
                       if (memo_ != nullptr) {
                         memo_->SetShown(model_.view.memo);
                       }
                     }});
  lists_.SetSelectorWidth(topRow_.SetDpi(dpi_, windowFont_.Get()));

  if (DpiOf(self) != dpi_) {
    SetDpi(DpiOf(self));
  }
}

void MainWindow::SetDpi(int dpi) {
  dpi_ = dpi;
  // The controls take the new font before the old one is freed.
  UniqueFont font = CreateUiFont(kProportionalGothic, -12, dpi_);
  lists_.SetDpi(dpi_, font.Get());
  lists_.SetSelectorWidth(topRow_.SetDpi(dpi_, font.Get()));
  windowFont_ = std::move(font);
  lists_.Layout(ListBounds());
}

RECT MainWindow::ListBounds() const {
  // The lists end at the client area's edges: reaching past them would hide part of their
  // scroll bars, which the user needs once a list overflows.
  RECT client{};
  GetClientRect(Handle(), &client);
  return RECT{0, Scale(kListTop, dpi_), client.right, client.bottom};
}

void MainWindow::TrackPlacement() {
  RECT window{};
  if (!IsIconic(Handle()) && GetWindowRect(Handle(), &window)) {
    model_.placement = app::Placement{window.left, window.top, window.right - window.left,
                                      window.bottom - window.top};
  }
}

void MainWindow::ApplyModelToControls() {
  const app::Placement& placement = model_.placement;
  MoveWindow(Handle(), placement.left, placement.top, placement.width, placement.height, FALSE);
  lists_.Views().SetListFont(model_.view.fontSize);
  lists_.Views().SetListColor(model_.view.fontColor);
  paste_.SetTabMode(model_.sendTabFlag);
  TopRow::Check(topRow_.MemoBox(), model_.view.memo);
  view_.ApplyModel();
  lists_.ShowStore();
}

// Another monitor: the same layout at its dpi. The new size is no resize by the user, so the
// wide mode stays as it is.
void MainWindow::MoveForDpi(const DpiChange& change) {
  movingForDpi_ = true;
  MoveToSuggested(Handle(), change, dpi_);
  movingForDpi_ = false;
}

void MainWindow::OnDpiChanged(int dpi) {
  SetDpi(dpi);
  view_.DockMemoWindow();
}

}  // namespace pellix::win32
