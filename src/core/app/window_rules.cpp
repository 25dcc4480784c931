#include "core/app/window_rules.h"

#include <utility>

#include "core/capture/capture_rules.h"
#include "core/lists/list_commands.h"
#include "core/paste/paste_text.h"
#include "core/text/codec.h"

namespace pellix::app {

bool TakeOwnWrite(Model& model) {
  return std::exchange(model.ownWrite, false);
}

CaptureOutcome CaptureClipboard(Model& model, ClipboardContent content,
                                const text::TextServices& services) {
  if (content.secret) {
    return {};
  }
  CaptureOutcome outcome;
  if (model.lists.UnicodeCapture() && !content.wide.empty()) {
    model.lists.InsertUnicodeAtTop(std::move(content.wide));
    outcome.unicodeInserted = true;
  }
  outcome.run = CaptureAnsiText(model, content.ansi, services).run;
  return outcome;
}

CaptureOutcome CaptureAnsiText(Model& model, const std::optional<std::string>& ansi,
                               const text::TextServices& services) {
  if (!ansi) {
    return {};
  }
  std::optional<std::string> taken = capture::TextToCapture(*ansi, model.lastText);
  if (!taken) {
    return {};
  }
  model.lastText = std::move(*taken);
  return CaptureOutcome{false, capture::RunFilters(model.lists, model.lastText, services)};
}

std::u16string TakePasteText(Model& model, bool unicodeShown,
                             const std::vector<std::size_t>& selected, bool hasCurrent,
                             const text::TextServices& services) {
  if (unicodeShown) {
    std::vector<std::u16string> items;
    for (const std::size_t index : selected) {
      items.push_back(model.lists.UnicodeItems().at(index));
    }
    return paste::BuildUnicodePasteText(items, model.view.pasteOption);
  }
  const auto slot = model.lists.AnsiShown();
  if (!slot || !hasCurrent) {
    return {};
  }
  std::vector<std::string> items;
  for (const std::size_t index : selected) {
    items.emplace_back(model.lists.Slot(*slot).items.at(index));
  }
  model.pastedSinceHotkey = true;
  return text::Cp932ToUtf16(services, paste::BuildAnsiPasteText(items, model.view.pasteOption));
}

lists::EditResult ClearOrdinaryList(Model& model, std::size_t list, const lists::ViewState& view) {
  lists::EditResult result = lists::clearlistitem(model.lists, list, view, model.lockFlag);
  if (!model.lockFlag) {
    model.lastText.clear();
  }
  return result;
}

std::optional<lists::EditResult> ClearSearchResults(Model& model,
                                                    const search::ListSearch& search) {
  const bool unicode = search.List()->unicode;
  if (!unicode && model.lockFlag) {
    return std::nullopt;
  }
  lists::EditResult result = search::ClearShown(model.lists, search);
  if (!unicode) {
    model.lastText.clear();
  }
  return result;
}

HotkeyAnswer AnswerHotkey(Model& model, bool windowVisible, bool applicationActive) {
  if (!windowVisible) {
    return HotkeyAnswer::kShow;
  }
  if (applicationActive && !model.pastedSinceHotkey) {
    return HotkeyAnswer::kHide;
  }
  model.pastedSinceHotkey = false;
  return HotkeyAnswer::kBringForward;
}

FocusedPart FocusOnActivation(bool searchOpen, FocusedPart lastFocused) {
  if (!searchOpen) {
    return FocusedPart::kList;
  }
  return lastFocused == FocusedPart::kNone ? FocusedPart::kSearchField : lastFocused;
}

Placement MemoPlacement(const Placement& main, int workAreaRight) {
  const int left = main.left + main.width + 1;
  const int width = left + main.width > workAreaRight ? workAreaRight - left : main.width;
  return Placement{left, main.top, width, main.height};
}

}  // namespace pellix::app
