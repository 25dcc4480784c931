"""Where the keys go when pellix comes forward (with the search field open, back where they
were), and where a paste goes after the user worked in pellix's own windows."""

from __future__ import annotations

import time
from typing import Callable

import pytest

from harness import Desktop, wait_until
from boxes import answer_input_dialog, close_box, message_box, open_about_box
from gestures import row_centre
from ids import BM_GETCHECK, CMD_HOTKEY_FIRST, ID_SEARCH_FIELD, ID_TABBOX, ID_WIDEBOX, WM_COMMAND
from notepad import Target, paste
from pellix import HISTORY, Pellix, click_centre, write_list_file, write_unicode_list_file


def x_keys_into(desktop: Desktop, hwnd: int, *chords: str) -> None:
    """Keys typed by the user into a window already in front: the X focus follows the window
    Windows has in front, as a window manager would do."""
    wait_until(lambda: desktop.foreground() == hwnd, 10, f"window {hwnd} in front")
    x_window = desktop.tool("foreground", hwnd)["x11"]
    desktop.x.focus_x_window(x_window)
    desktop.xdotool_keys(*chords)


def test_the_hotkey_brings_pellix_forward_with_the_list_ready_for_keys(desktop: Desktop):
    """pellix was left open while the user went on working in notepad. The hotkey brings it
    forward, and Down then Enter pastes the second item into notepad, with no click first."""
    write_list_file(desktop.app_dir, HISTORY, ["first", "second", "third"])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    desktop.tool("keys", "ctrl+a")
    x_keys_into(desktop, app.hwnd, "Down", "Return")
    wait_until(lambda: target.text() == "second", 10,
               "Down and Enter after the hotkey to paste the second item")
    app.close()


def back_to_pellix(desktop: Desktop, app: Pellix, target: Target, how: str) -> None:
    """The user works in notepad for a moment, then comes back to pellix. pellix stays on top on
    Windows; on the X side, with no window manager, notepad's window may be left over it, so it is
    raised there for the clicks that follow (and before the click that brings it back)."""
    desktop.focus(target.window)
    if how == "hotkey":
        desktop.tool("keys", "ctrl+a")  # pellix is shown: the hotkey brings it forward
    elif how == "click":
        rect = app.main["rect"]  # on the title bar
        desktop.x.xdotool("windowraise", str(app.main["x11"]))
        desktop.x.xdotool("mousemove", str(rect["left"] + 60), str(rect["top"] + 8), "click", "1")
    else:
        desktop.tool("foreground", app.hwnd)
    wait_until(lambda: desktop.foreground() == app.hwnd, 10, f"pellix in front again ({how})")
    desktop.x.xdotool("windowraise", str(app.main["x11"]))


@pytest.mark.parametrize("how", ["SetForegroundWindow", "hotkey", "click"])
def test_coming_back_with_the_search_open_gives_the_keys_back_where_they_were(desktop: Desktop,
                                                                            how: str):
    """With the search field open, the control that had the keys when the user left pellix gets
    them back, as in a dialog: after a click into the results, Del deletes the item there rather
    than a character of the field; after typing in the field, the keys go on to the field."""
    write_list_file(desktop.app_dir, HISTORY, ["apple one", "apple two", "banana"])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    desktop.focus(app.hwnd)
    desktop.tool("keys", "ctrl+f")
    field = app.control(ID_SEARCH_FIELD)
    wait_until(lambda: app.visible(field["hwnd"]), 10, "the search field to open")
    desktop.tool("type", "apple")
    wait_until(lambda: app.items() == ["apple one", "apple two"], 10, "the two results")

    x, y = row_centre(desktop, app.listbox, 1)
    desktop.x.xdotool("windowraise", str(app.main["x11"]))  # over notepad, as on Windows
    desktop.x.xdotool("mousemove", str(x), str(y), "click", "1")
    wait_until(lambda: desktop.tool("get-foreground")["focus"] == app.listbox, 10,
               "the click to give the keys to the results")
    back_to_pellix(desktop, app, target, how)
    wait_until(lambda: desktop.tool("get-foreground")["focus"] == app.listbox, 10,
               "the keys back with the results")
    desktop.tool("keys", "delete")
    wait_until(lambda: app.items() == ["apple one"], 10, "Del to delete the clicked result")
    assert desktop.text(field["hwnd"]) == "apple"

    click_centre(desktop, app.control(ID_SEARCH_FIELD)["rect"])  # placed since it was opened
    wait_until(lambda: desktop.tool("get-foreground")["focus"] == field["hwnd"], 10,
               "the click to give the keys to the field")
    back_to_pellix(desktop, app, target, how)
    wait_until(lambda: desktop.tool("get-foreground")["focus"] == field["hwnd"], 10,
               "the keys back with the field")
    desktop.tool("keys", "backspace")
    wait_until(lambda: desktop.text(field["hwnd"]) == "appl", 10, "Backspace to edit the field")
    app.close()


def test_the_tab_box_leaves_the_keys_with_the_unicode_list(desktop: Desktop):
    """With the Unicode list shown, a click on "tab" leaves the keyboard with the Unicode list:
    Down then Enter pastes its second item (followed by the Tab the box just turned on)."""
    write_unicode_list_file(desktop.app_dir, ["ü first", "ü second"])
    app = Pellix.start(desktop)
    app.pick_list(2)
    wait_until(lambda: app.visible(app.tnt), 10, "the Unicode list shown")
    target = Target(desktop, app)
    desktop.focus(app.hwnd)
    tabbox = app.control(ID_TABBOX)
    click_centre(desktop, tabbox["rect"])
    wait_until(lambda: desktop.tool("send", tabbox["hwnd"], BM_GETCHECK, 0, 0)["result"] == 1, 10,
               "the click to check the tab box")
    focus = desktop.tool("get-foreground")["focus"]
    assert focus == app.tnt, f"the keyboard focus is on {describe(desktop, app, focus)}, " \
        f"not on the Unicode list {app.tnt}"
    x_keys_into(desktop, app.hwnd, "Down", "Return")
    wait_until(lambda: target.text() == "ü second\t", 10, "Down and Enter to paste the second item")
    app.close()


# ---- the paste target -------------------------------------------------------------------------

PASTE_TARGET = "PellixPasteTarget"
# pellix samples the window in front once a second: 2.5 s of watching covers at least two
# samples taken while one of its own windows was in front.
WATCH_SECONDS = 2.5


def own_windows(desktop: Desktop, app: Pellix) -> set[int]:
    """Every window of pellix: its top-level windows (shown or hidden) and all their controls."""
    tops = [w["hwnd"] for w in app.process.windows()]
    return set(tops) | {c["hwnd"] for top in tops for c in desktop.tool("children", top)}


def watch_paste_target(desktop: Desktop, app: Pellix, what: str) -> None:
    """Fails at the first sample of the published paste target that names a window of pellix."""
    own = own_windows(desktop, app)
    deadline = time.monotonic() + WATCH_SECONDS
    while time.monotonic() < deadline:
        value = desktop.tool("prop", app.hwnd, PASTE_TARGET)["value"]
        if value in own:
            raise AssertionError(f"after {what}, the paste target became pellix's own window "
                                 f"{describe(desktop, app, value)}")


def describe(desktop: Desktop, app: Pellix, hwnd: int) -> str:
    for top in app.process.windows():
        if top["hwnd"] == hwnd:
            return f"{hwnd} ({top['class']} {top['title']!r})"
        for child in desktop.tool("children", top["hwnd"]):
            if child["hwnd"] == hwnd:
                return f"{hwnd} ({child['class']} {child['text']!r} in {top['class']})"
    return str(hwnd)


def click_wide_box(desktop: Desktop, app: Pellix) -> Callable[[], None]:
    desktop.focus(app.hwnd)
    widebox = app.control(ID_WIDEBOX)
    click_centre(desktop, widebox["rect"])
    wait_until(lambda: desktop.tool("send", widebox["hwnd"], BM_GETCHECK, 0, 0)["result"] == 1, 10,
               "the click to check the wide box")
    return lambda: None


def open_invalid_letter_box(desktop: Desktop, app: Pellix) -> Callable[[], None]:
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_HOTKEY_FIRST + 4, 0)  # Ctrl+Alt
    answer_input_dialog(desktop, app, "ab")
    box, texts = message_box(desktop, app)
    assert "無効な文字です" in texts
    return lambda: close_box(desktop, app, box)


# Each opens or touches one of pellix's windows and returns what ends that again.
TOUCHES = {"a click on the wide box": click_wide_box,
           "the about box": open_about_box,
           "the box of an invalid hotkey letter": open_invalid_letter_box}


@pytest.mark.parametrize("what", list(TOUCHES), ids=["wide box", "about box", "message box"])
def test_pellix_own_windows_never_become_the_paste_target(desktop: Desktop, what: str):
    """The user works in notepad, then clicks pellix's "wide" box, or opens its about box, or
    meets one of its message boxes, and lingers there. Afterwards a picked item is pasted into
    notepad: the window pastes go to never becomes one of pellix's own windows or controls."""
    write_list_file(desktop.app_dir, HISTORY, ["first", "second"])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    done = TOUCHES[what](desktop, app)
    watch_paste_target(desktop, app, what)
    done()
    paste(desktop, app, [0], None)
    wait_until(lambda: target.text() == "first", 10, "the item pasted into notepad")
    app.close()
