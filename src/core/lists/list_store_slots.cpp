// The store's changes of whole lists: every one counts as a revision and keeps the current
// list, the ANSI view's list and the opened item on the lists they were on.

#include <algorithm>

#include "core/io/errors.h"
#include "core/lists/list_store.h"
#include "core/text/ascii.h"

namespace pellix::lists {
namespace {

void CheckSlot(std::size_t index, std::size_t count) {
  if (index >= count) {
    throw io::RangeError();
  }
}

}  // namespace

void ListStore::RenameSlot(std::size_t index, std::string name) {
  ListSlot& slot = slots_.at(index);
  slot.filter.filname = name;
  slot.name = std::move(name);
  unicodeCapture_ = unicodeCapture_ || IsUnicodeListName(slot.name);
  ++revision_;
}

void ListStore::SetFilter(std::size_t index, filters::FilterDef filter) {
  slots_.at(index).filter = std::move(filter);
  ++revision_;
}

void ListStore::SwapSlots(std::size_t a, std::size_t b) {
  CheckSlot(a, slots_.size());
  CheckSlot(b, slots_.size());
  std::swap(slots_[a], slots_[b]);
  const auto other = [a, b](std::size_t slot) { return slot == a ? b : slot == b ? a : slot; };
  if (current_) {
    current_ = other(*current_);
  }
  if (ansiShown_) {
    ansiShown_ = other(*ansiShown_);
  }
  opened_.ListsMoved([&](std::size_t slot) { return std::optional<std::size_t>(other(slot)); });
  keys_.ForgetAnsi();
  ++revision_;
}

ListStore::RemovedSlot ListStore::RemoveSlot(std::size_t index) {
  CheckSlot(index, slots_.size());
  slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(index));
  keys_.ForgetAnsi();
  ++revision_;
  const auto after = [index](std::size_t slot) -> std::optional<std::size_t> {
    if (slot == index) {
      return std::nullopt;
    }
    return slot > index ? slot - 1 : slot;
  };
  opened_.ListsMoved(after);
  // The ANSI view must never be left on a list that is gone; a switch below may set it again.
  const bool ansiShownRemoved = ansiShown_ == index;
  ansiShown_ = ansiShown_ ? after(*ansiShown_) : std::nullopt;

  if (!current_ || *current_ != index) {
    current_ = current_ ? after(*current_) : std::nullopt;
    return RemovedSlot{false, SwitchPlan{}, ansiShownRemoved};
  }
  if (slots_.empty()) {
    current_.reset();
    return RemovedSlot{true, SwitchPlan{}, ansiShownRemoved};
  }
  return RemovedSlot{true, SwitchList(std::min(index, slots_.size() - 1)), ansiShownRemoved};
}

bool NamesUnicodeCapture(std::string_view name) {
  return text::EqualsIgnoringAsciiCase(name, kUnicodeListName);
}

void ListStore::NoteUnicodeCaptureNames() {
  for (const ListSlot& slot : slots_) {
    if (NamesUnicodeCapture(slot.name)) {
      unicodeCapture_ = true;
    }
  }
}

bool ListStore::UnicodeListShown() const {
  return current_ && IsUnicodeListName(slots_[*current_].name);
}

}  // namespace pellix::lists
