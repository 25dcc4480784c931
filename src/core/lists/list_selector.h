#pragma once
// The list selector's keys: while its drop-down list is open, moving through it only highlights a
// name; Enter or a click switches. With the list closed every change switches at once.

namespace pellix::lists {

class ListSelectorKeys {
 public:
  // A key pressed while the drop-down list is open. True for Enter: switch to the highlighted
  // list now. Any other key makes the change notice it may cause switch nothing.
  bool KeyWhileDropped(bool isEnter) {
    if (isEnter) {
      return true;
    }
    skipComboChange_ = true;
    return false;
  }

  // The selector's current item changed; true when that should switch lists.
  bool Changed() {
    if (skipComboChange_) {
      skipComboChange_ = false;
      return false;
    }
    return true;
  }

  // The drop-down list closed: a key that changed nothing must not swallow a later change.
  void ClosedUp() { skipComboChange_ = false; }

 private:
  bool skipComboChange_ = false;
};

}  // namespace pellix::lists
