"""Editing the lists by hand, as a user does with the keys and the mouse, and what the files
hold after a close."""

from __future__ import annotations

import time

from harness import Desktop, wait_until
from files import list_file
from gestures import drag, keys, right_click_menu, row_centre
from ids import (BM_CLICK, CMD_CLEAR_BACK_HALF, CMD_DELETE, CMD_EXPAND, CMD_ITEM_DOWN, CMD_ITEM_UP,
                 CMD_SORT, IDCANCEL, IDOK, ID_COMBOBOX, ID_DROPBOX, ID_LISTBOX, TRAY_CALLBACK,
                 WM_COMMAND, WM_LBUTTONDOWN)
from pellix import HISTORY, RECORDS, Pellix, write_list_file


def test_del_and_ctrl_del_respect_the_lock(desktop: Desktop):
    """Del deletes the selected items and Ctrl+Del clears the list, but not while the list is
    locked (Ctrl+L, the window turns red); the file written at the close holds the result."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b", "c", "d"])
    write_list_file(desktop.app_dir, RECORDS, ["kept"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 1, 2)
    keys(desktop, app, "delete")
    wait_until(lambda: app.items() == ["a", "d"], 10, "Del to delete the selected items")

    keys(desktop, app, "ctrl+l")  # locked
    keys(desktop, app, "delete")
    keys(desktop, app, "ctrl+delete")
    keys(desktop, app, "ctrl+l")  # unlocked again
    # Moving is not locked: once "d" has moved up, the locked keys before it were handled.
    keys(desktop, app, "ctrl+u")
    wait_until(lambda: app.items() == ["d", "a"], 10, "Ctrl+U to move the current item up")
    keys(desktop, app, "ctrl+delete")
    wait_until(lambda: app.items() == [], 10, "Ctrl+Del to clear the unlocked list")
    app.close()
    assert list_file(desktop, HISTORY) == []
    assert list_file(desktop, RECORDS) == ["kept"]


def test_commands_on_a_list_of_100000_items_stay_quick(desktop: Desktop):
    """On 100,000 items (about 10 MB) every command gives its result at once; the time from the
    command to the list's new count being readable is printed (pxtool's own call included)."""
    items = [f"項目 {i:06d} " + "abcdefghij" * (i % 17) + ("\r\n2行目" if i % 10 == 0 else "")
             for i in range(100_000)]
    write_list_file(desktop.app_dir, HISTORY, items)
    app = Pellix.start(desktop)
    wait_until(lambda: app.list_view(count=0)["count"] == 100_000, 30, "the big list shown")
    timings = {}

    def timed(name: str, command_id: int, count: int) -> None:
        started = time.monotonic()
        desktop.tool("post", app.hwnd, WM_COMMAND, command_id, 0)
        wait_until(lambda: app.list_view(count=0)["count"] == count, 60, f"{name} to finish")
        timings[name] = time.monotonic() - started

    # 展開 of the 1,000 multi-line items among the first 10,000, all selected.
    desktop.tool("listview-select", app.listbox, *range(0, 10_000, 10))
    timed("expand 1,000 selected", CMD_EXPAND, 101_000)
    assert app.items(count=3) == [items[0].split("\r\n")[0], "2行目", items[1]]
    timed("sort", CMD_SORT, 101_000)
    assert app.items(count=1) == ["2行目"]  # the 10,000 second lines sort first
    timed("clear the back half", CMD_CLEAR_BACK_HALF, 50_500)
    started = time.monotonic()
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_ITEM_DOWN, 0)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_ITEM_UP, 0)
    app.list_view(count=1)
    timings["move down and up"] = time.monotonic() - started
    kept = app.items(count=1)
    desktop.tool("listview-select", app.listbox, 0, -1, "--timeout", 60_000, timeout=70)
    timed("delete 50,500 selected", CMD_DELETE, 0)
    print("\n[big list commands] " + ", ".join(f"{k}: {v:.2f} s" for k, v in timings.items()))
    app.close(timeout=30)
    assert list_file(desktop, HISTORY) == [] and kept == ["2行目"]


# ---- helpers: a row dragged with the real mouse, the input dialogs -------------------------------


def drag_row(desktop: Desktop, app: Pellix, source: int, target: int) -> None:
    desktop.focus(app.hwnd)
    drag(desktop, row_centre(desktop, app.listbox, source),
         row_centre(desktop, app.listbox, target))


def visible_dialog(app: Pellix, class_name: str) -> dict | None:
    return next((w for w in app.process.windows() if w["class"] == class_name and w["visible"]),
                None)


def input_dialog(desktop: Desktop, app: Pellix, title: str, prompt: str) -> int:
    """The input dialog now open, which must be the one asking `prompt` under `title`."""
    dialog = wait_until(lambda: visible_dialog(app, "InputDialog"), 10, f"the question {prompt}")
    assert dialog["title"] == title, f"the dialog asks under {dialog['title']!r}, not {title!r}"
    texts = [c["text"] for c in desktop.tool("children", dialog["hwnd"])]
    assert prompt in texts, f"the dialog shows {texts}, not the prompt {prompt!r}"
    return dialog["hwnd"]


def answer(desktop: Desktop, app: Pellix, dialog: int, text: str, button: int = IDOK) -> None:
    if text:
        desktop.focus(dialog)
        desktop.tool("type", text)
    field = next(c for c in desktop.tool("children", dialog) if c["class"] == "Edit")
    wait_until(lambda: desktop.text(field["hwnd"]) == text, 10, f"{text!r} typed into the dialog")
    pressed = next(c for c in desktop.tool("children", dialog) if c["id"] == button)
    desktop.tool("post", pressed["hwnd"], BM_CLICK, 0, 0)
    wait_until(lambda: not any(w["hwnd"] == dialog and w["visible"]
                               for w in app.process.windows()), 10, "the dialog to close")


# ---- moving items ------------------------------------------------------------------------------


def test_ctrl_u_and_ctrl_d_move_the_current_item_but_not_past_the_ends(desktop: Desktop):
    """Ctrl+U on the top item and Ctrl+D on the bottom item do nothing; elsewhere they move the
    current item one place and it stays the selected one."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b", "c", "d"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 0)
    keys(desktop, app, "ctrl+u", "ctrl+d")  # the first at the top does nothing
    wait_until(lambda: app.items() == ["b", "a", "c", "d"], 10, "Ctrl+D to move the top item down")
    keys(desktop, app, "ctrl+d")
    wait_until(lambda: app.items() == ["b", "c", "a", "d"], 10, "Ctrl+D to move it further down")
    view = app.list_view()
    assert (view["selected"], view["focused"]) == ([2], 2), "the moved item is no longer current"

    desktop.tool("listview-select", app.listbox, 3)
    keys(desktop, app, "ctrl+d", "ctrl+u")  # the first at the bottom does nothing
    wait_until(lambda: app.items() == ["b", "c", "d", "a"], 10, "Ctrl+U to move the bottom item up")
    view = app.list_view()
    assert (view["selected"], view["focused"]) == ([2], 2), "the moved item is no longer current"
    app.close()
    assert list_file(desktop, HISTORY) == ["b", "c", "d", "a"]


def test_dragging_an_item_onto_another_moves_it_there(desktop: Desktop):
    """Item 2 dragged onto item 5 lands between the former items 4 and 5; item 5 dragged onto
    item 2 lands above the former item 2; item 2 dragged onto item 3 swaps the two. The dropped
    item is the only one selected."""
    original = [f"item{k}" for k in range(7)]
    write_list_file(desktop.app_dir, HISTORY, original)
    app = Pellix.start(desktop)

    def dragged(source: int, target: int, expected: list[str], at: int) -> None:
        drag_row(desktop, app, source, target)
        wait_until(lambda: app.items() == expected, 10, f"the drag of item {source} onto {target}")
        assert app.list_view()["selected"] == [at]

    dragged(2, 5, ["item0", "item1", "item3", "item4", "item2", "item5", "item6"], 4)
    dragged(5, 2, ["item0", "item1", "item5", "item3", "item4", "item2", "item6"], 2)
    dragged(2, 3, ["item0", "item1", "item3", "item5", "item4", "item2", "item6"], 3)
    app.close()
    assert list_file(desktop, HISTORY) == \
        ["item0", "item1", "item3", "item5", "item4", "item2", "item6"]


def test_an_item_dragged_onto_the_selector_goes_to_the_top_of_the_list_picked(desktop: Desktop):
    """Dropped on the list selector, the item shows the list of names; a click on the current
    list's name only hides them, a click on another name moves the item to the top of that list
    and the item that took its place is selected."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b", "c"])
    write_list_file(desktop.app_dir, RECORDS, ["kept"])
    app = Pellix.start(desktop)
    selector = app.control(ID_COMBOBOX)["rect"]
    onto_selector = (selector["left"] + 30, (selector["top"] + selector["bottom"]) // 2)

    def drop_on_selector() -> dict:
        desktop.focus(app.hwnd)
        drag(desktop, row_centre(desktop, app.listbox, 1), onto_selector)
        wait_until(lambda: app.visible(app.dropbox), 10, "the names shown after the drop")
        return app.control(ID_DROPBOX)["rect"]

    def click_name(rect: dict, index: int) -> None:
        desktop.x.xdotool("mousemove", str(rect["left"] + 20), str(rect["top"] + 12 * index + 6),
                          "click", "1")
        wait_until(lambda: not app.visible(app.dropbox), 10, "the names hidden after the click")

    names = drop_on_selector()
    assert desktop.tool("listbox", app.dropbox)["items"][:2] == [HISTORY, RECORDS]
    click_name(names, 0)  # the current list
    assert app.items() == ["a", "b", "c"]

    click_name(drop_on_selector(), 1)
    wait_until(lambda: app.items() == ["a", "c"], 10, "the item to leave the list")
    assert app.list_view()["selected"] == [1]
    app.pick_list(1)
    wait_until(lambda: app.items() == ["b", "kept"], 10, "the item at the top of 記録")
    app.close()
    assert list_file(desktop, HISTORY) == ["a", "c"]
    assert list_file(desktop, RECORDS) == ["b", "kept"]


# ---- expanding, sorting, replacing -------------------------------------------------------------


def test_ctrl_e_splits_the_selected_items_into_their_lines(desktop: Desktop):
    """An item of three lines with an empty middle line becomes three items, the middle one
    empty; an item ending with a line break gives no empty last item; an unselected item of two
    lines stays whole."""
    write_list_file(desktop.app_dir, HISTORY, ["one\r\n\r\nthree", "tail\r\n", "x\r\ny"])
    app = Pellix.start(desktop)
    assert app.items() == ["one\r\n\r\nthree", "tail\r\n", "x\r\ny"]
    desktop.tool("listview-select", app.listbox, 0, 1)
    keys(desktop, app, "ctrl+e")
    wait_until(lambda: app.items() == ["one", "", "three", "tail", "x\r\ny"], 10,
               "Ctrl+E to split the two selected items")
    app.close()
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == \
        b"][)one\r\n][)\r\n][)three\r\n][)tail\r\n][)x\r\ny\r\n"


def test_ctrl_alt_s_sorts_the_whole_list_by_case_sensitive_order(desktop: Desktop):
    """The whole list is sorted, whatever is selected; a lower-case letter comes before the same
    letter in upper case, and both before the next letter."""
    write_list_file(desktop.app_dir, HISTORY, ["b", "B", "c", "A", "a"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 2)
    keys(desktop, app, "ctrl+alt+s")
    wait_until(lambda: app.items() == ["a", "A", "b", "B", "c"], 10, "Ctrl+Alt+S to sort")
    app.close()
    assert list_file(desktop, HISTORY) == ["a", "A", "b", "B", "c"]


def test_ctrl_r_replaces_in_every_item_and_an_empty_search_asks_no_more(desktop: Desktop):
    """Replacing "a" by nothing removes every "a" of every item of the current list, and of no
    other list; an empty search text ends the command before the question for the replacement."""
    write_list_file(desktop.app_dir, HISTORY, ["banana", "Apple", "cab", "xyz"])
    write_list_file(desktop.app_dir, RECORDS, ["banana"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 3)
    keys(desktop, app, "ctrl+r")
    answer(desktop, app, input_dialog(desktop, app, "部分文字列の一括置換", "対象文字列"), "a")
    answer(desktop, app, input_dialog(desktop, app, "置換文字列", "置換文字列"), "")
    wait_until(lambda: app.items() == ["bnn", "Apple", "cb", "xyz"], 10, "every 'a' removed")

    keys(desktop, app, "ctrl+r")
    answer(desktop, app, input_dialog(desktop, app, "部分文字列の一括置換", "対象文字列"), "")
    # Had the replacement been asked for, its question would be the next dialog, and Ctrl+R
    # would not reach the list behind it.
    keys(desktop, app, "ctrl+r")
    answer(desktop, app, input_dialog(desktop, app, "部分文字列の一括置換", "対象文字列"), "",
           IDCANCEL)
    assert app.items() == ["bnn", "Apple", "cb", "xyz"]
    app.close()
    assert list_file(desktop, HISTORY) == ["bnn", "Apple", "cb", "xyz"]
    assert list_file(desktop, RECORDS) == ["banana"]


# ---- the list's menu and the hidden window -------------------------------------------------------


def test_the_menu_entries_for_an_item_do_nothing_after_a_click_on_no_item(desktop: Desktop):
    """Right-clicked on the empty part of the list, the menu's 削除 does nothing. Right-clicked on
    an item that is not selected, it deletes that item alone; on an item of a multiple selection,
    it deletes the whole selection."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b", "c", "d", "e"])
    app = Pellix.start(desktop)
    listbox = app.control(ID_LISTBOX)["rect"]
    empty_spot = (listbox["left"] + 30, listbox["bottom"] - 12)
    assert desktop.tool("listview-rows", app.listbox, 4)["rows"][0]["bottom"] < empty_spot[1]
    # コピー, キー入力で貼り付け, 編集, 変換, 削除
    to_delete = ("down", "down", "down", "down", "down", "Return")

    desktop.tool("listview-select", app.listbox, 0)
    right_click_menu(desktop, app, empty_spot, *to_delete)
    assert app.items() == ["a", "b", "c", "d", "e"], "削除 ran after a click on no item"

    right_click_menu(desktop, app, row_centre(desktop, app.listbox, 1), *to_delete)
    wait_until(lambda: app.items() == ["a", "c", "d", "e"], 10, "削除 of the item clicked")

    desktop.tool("listview-select", app.listbox, 2, 3)
    right_click_menu(desktop, app, row_centre(desktop, app.listbox, 3), *to_delete)
    wait_until(lambda: app.items() == ["a", "c"], 10, "削除 of the selection clicked")
    app.close()
    assert list_file(desktop, HISTORY) == ["a", "c"]


def test_del_does_nothing_while_the_window_is_hidden(desktop: Desktop):
    """Hidden by a click on the tray icon, the window's 削除 deletes nothing; shown again, Del
    deletes the current item."""
    write_list_file(desktop.app_dir, HISTORY, ["a", "b"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 0)
    desktop.tool("send", app.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
    wait_until(lambda: not app.visible_window(), 10, "the window hidden")
    app.command(CMD_DELETE)  # sent: done when it returns
    assert app.items() == ["a", "b"], "削除 deleted from the hidden window's list"

    desktop.tool("send", app.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
    wait_until(app.visible_window, 10, "the window shown again")
    desktop.tool("listview-select", app.listbox, 0)
    keys(desktop, app, "delete")
    wait_until(lambda: app.items() == ["b"], 10, "Del to delete once the window is shown")
    app.close()
    assert list_file(desktop, HISTORY) == ["b"]
