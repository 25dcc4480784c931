#pragma once
// What the windows do with the model, decided here so that it can be tested without them: the
// capture of a clipboard change, the text a paste takes, the hotkey's answer and where the memo
// docks.

#include <optional>
#include <string>
#include <vector>

#include "core/app/model.h"
#include "core/capture/filter_engine.h"
#include "core/search/list_search.h"
#include "core/text/text_services.h"

namespace pellix::app {

// A clipboard change as it was read.
struct ClipboardContent {
  // The source marked the text as not to be recorded (a password manager, say).
  bool secret = false;
  // CF_UNICODETEXT, or the ANSI text widened when that is missing; empty when there is no text.
  std::u16string wide;
  // The text in code page 932; nullopt when the clipboard holds no text at all.
  std::optional<std::string> ansi;
};

struct CaptureOutcome {
  bool unicodeInserted = false;
  std::optional<capture::FilterRun> run;  // the ANSI text went through the filters
};

// The change was our own write (a paste): it is not read, and the next one is again.
bool TakeOwnWrite(Model& model);

// A change of the clipboard taken in: nothing of a secret; the Unicode list, while it captures,
// takes every non-empty text, repeats too, before the ANSI text goes to the filters unless it is
// empty, a bare line break or the last text again.
CaptureOutcome CaptureClipboard(Model& model, ClipboardContent content,
                                const text::TextServices& services);
// Only the ANSI text (when the program takes its place in the viewer chain back).
CaptureOutcome CaptureAnsiText(Model& model, const std::optional<std::string>& ansi,
                               const text::TextServices& services);

// The text a paste from the shown list types: the Unicode list's selected items, or the ordinary
// list's when it has a current item (empty when it has none), under the paste option. A paste
// from the ordinary list marks the hotkey's next press to bring the window forward instead of
// hiding it.
std::u16string TakePasteText(Model& model, bool unicodeShown,
                             const std::vector<std::size_t>& selected, bool hasCurrent,
                             const text::TextServices& services);

// クリアー of an ordinary list: every item goes unless the lists are locked, and then the text
// captured last is captured again when copied again.
lists::EditResult ClearOrdinaryList(Model& model, std::size_t list, const lists::ViewState& view);
// クリアー while searching: only the items shown go (none of an ordinary list while locked), and
// a text among them may be captured again.
std::optional<lists::EditResult> ClearSearchResults(Model& model, const search::ListSearch& search);

enum class HotkeyAnswer { kShow, kHide, kBringForward };
// The hotkey pressed: a hidden window shows; the window in front hides, unless a paste was made
// since the last press; otherwise it comes forward (and the paste mark is spent).
HotkeyAnswer AnswerHotkey(Model& model, bool windowVisible, bool applicationActive);

// What held the keyboard focus in the main window, as far as its activation cares.
enum class FocusedPart { kNone, kList, kSearchField, kOtherControl };
// The main window activated (a click, the hotkey, another program giving it the front): while
// the search field is open, the part that had the focus when the window was last left gets it
// back, as in a dialog (the results the user had clicked into, or the field they were typing
// in); nothing of ours had it, the field. Without the field the keys go to the shown list.
FocusedPart FocusOnActivation(bool searchOpen, FocusedPart lastFocused);

// The memo beside the main window's right edge, one pixel apart, as tall as it; it gives up
// width rather than reach past the work area's right edge.
Placement MemoPlacement(const Placement& main, int workAreaRight);

}  // namespace pellix::app
