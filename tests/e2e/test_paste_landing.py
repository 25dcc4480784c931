"""Where a paste's keys land. Only Ctrl+V reaches the target, whatever modifier the user still
holds; a target closed since pellix sampled it gets nothing, the text waits on the clipboard and
a balloon says so, as the tray icon's tip does until the next paste."""

from __future__ import annotations

from harness import Desktop, wait_until
from actors import watch_keys
from files import write_later_start
from gestures import row_centre
from ids import (VK_CONTROL, VK_LCONTROL, VK_LMENU, VK_LSHIFT, VK_LWIN, VK_MENU, VK_RCONTROL,
                 VK_RMENU, VK_RSHIFT, VK_RWIN, VK_SHIFT, VK_V)
from notepad import Target
from pellix import HISTORY, Pellix, write_list_file
from tray import PLAIN_TIP, balloon_texts, tray_tip

MODIFIER_NAMES = {VK_SHIFT: "shift", VK_LSHIFT: "shift", VK_RSHIFT: "shift",
                  VK_CONTROL: "ctrl", VK_LCONTROL: "ctrl", VK_RCONTROL: "ctrl",
                  VK_MENU: "alt", VK_LMENU: "alt", VK_RMENU: "alt", VK_LWIN: "win", VK_RWIN: "win"}


def modifiers_at_each_sent_v(events: list[dict]) -> list[set[str]]:
    """The logged events played on a keyboard: for each V a program pressed, the modifiers that
    were down then (by name, either side)."""
    down: dict[int, bool] = {}
    found = []
    for event in events:
        if event["vk"] == VK_V and not event["up"] and event["injected"]:
            found.append({MODIFIER_NAMES[vk] for vk, is_down in down.items() if is_down})
        if event["vk"] in MODIFIER_NAMES:
            down[event["vk"]] = not event["up"]
    return found


def start_without_first_balloon(desktop: Desktop, items: list[str]) -> Pellix:
    """pellix with its settings file written, so that no first start's balloon stands in the way
    of the balloons under test."""
    write_later_start(desktop)
    write_list_file(desktop.app_dir, HISTORY, items)
    return Pellix.start(desktop)


def test_shift_held_through_a_double_click_is_let_go_around_ctrl_v(desktop: Desktop):
    """Shift+Enter is the typed paste, so a double click is how a paste starts with Shift down.
    The user keeps holding Shift: after half a second pellix lets it go for Ctrl+V and presses it
    again, and notepad gets exactly the text, once."""
    app = start_without_first_balloon(desktop, ["first", "second"])
    target = Target(desktop, app)
    logger, keys = watch_keys(desktop)
    desktop.focus(app.hwnd)
    x, y = row_centre(desktop, app.listbox, 0)
    desktop.x.xdotool("mousemove", str(x), str(y), "keydown", "shift",
                      "click", "--repeat", "2", "--delay", "80", "1")
    try:
        wait_until(lambda: target.text() == "first", 10, "the paste while Shift is still held")
    finally:
        desktop.x.xdotool("keyup", "shift")

    wait_until(lambda: [(e["up"], e["injected"]) for e in keys()
                        if MODIFIER_NAMES.get(e["vk"]) == "shift"][-1:] == [(True, False)],
               10, "the user's release of Shift in the key log")
    events = keys()
    assert modifiers_at_each_sent_v(events) == [{"ctrl"}], \
        "the target did not get exactly Ctrl+V (Ctrl+Shift+V pastes in Wine's notepad too)"
    shift = [(e["up"], e["injected"]) for e in events if MODIFIER_NAMES.get(e["vk"]) == "shift"]
    # Down by the user, up and down again by pellix around the paste keys, up by the user.
    assert shift == [(False, False), (True, True), (False, True), (True, False)], shift
    assert target.text() == "first"
    logger.stop()
    app.close()


def test_a_target_closed_since_it_was_sampled_gets_nothing_and_the_user_is_told(desktop: Desktop):
    app = start_without_first_balloon(desktop, ["first", "second"])
    notepad = Target(desktop, app)
    notepad.process.stop()  # closed after pellix sampled it as the paste target
    logger, keys = watch_keys(desktop)
    desktop.focus(app.hwnd)
    desktop.xdotool_keys("Return")

    texts = wait_until(lambda: balloon_texts(desktop), 15, "a balloon about the paste")
    assert texts == ["貼り付け先のウィンドウは閉じられていました。"
                     "テキストはクリップボードにあるので、Ctrl+V で貼り付けられます。"]
    assert desktop.tool("clipboard-get")["text"] == "first"
    assert [e for e in keys() if e["injected"]] == [], "keys were typed somewhere"
    assert app.items() == ["first", "second"], "the paste's text was captured"
    assert tray_tip(desktop) == (f"{PLAIN_TIP}\n貼り付けできませんでした：貼り付け先は閉じられて"
                                 "いました（テキストはクリップボードにあります）")

    # The next paste lands, and the tip has nothing more to say.
    target = Target(desktop, app)
    desktop.focus(app.hwnd)
    desktop.xdotool_keys("Down", "Return")
    wait_until(lambda: target.text() == "second", 10, "the next paste")
    assert tray_tip(desktop) == PLAIN_TIP
    logger.stop()
    app.close()
