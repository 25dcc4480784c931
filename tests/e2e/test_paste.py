"""Pasting picked items into the window that was in front, and the hotkey around it."""

from __future__ import annotations

from harness import Desktop, wait_until
from boxes import change_hotkey
from clipboard import copy
from ids import (BM_CLICK, CMD_TAB_MODE, IDOK, ID_BITBTN1, ID_LISTBOX, SC_MINIMIZE, TRAY_CALLBACK,
                 WM_COMMAND, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_SYSCOMMAND)
from notepad import Target, paste
from pellix import HISTORY, Pellix, project_version, write_list_file


ITEMS = ["x", "y", "a ", "b", "a\r\n", " b ", "go?id=5&url=http:x&y=1", "日本語"]


def test_paste_under_each_option_and_in_tab_mode(desktop: Desktop):
    write_list_file(desktop.app_dir, HISTORY, ITEMS)
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    cases = [([0, 1], 0, "x\r\ny"),        # なし
             ([2, 3], 2, "a\tb\t"),        # Tab追加
             ([0, 1], 5, "x\r\ny\r\n"),    # 改行追加
             ([4, 5], 7, "a b"),           # 区切りの削除
             ([6], 9, "http:x&y=1"),       # リダイレクト先のURLを抜き出し
             ([7], 0, "日本語")]
    for indices, option, expected in cases:
        target.clear()
        paste(desktop, app, indices, option)
        wait_until(lambda: target.text() == expected, 10, f"{expected!r} pasted into notepad")

    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_TAB_MODE, 0)
    target.clear()
    paste(desktop, app, [0], 0)
    wait_until(lambda: target.text() == "x\t", 10, "the paste followed by a Tab")

    # Nothing pasted was captured; the next copy of another program is. Change notices are
    # handled in order, so once that copy is at the top, a capture of any paste would be there too.
    copy(desktop, "copied after the pastes")
    wait_until(lambda: app.items(count=1) == ["copied after the pastes"], 10, "the next copy")
    assert app.items(count=20) == ["copied after the pastes"] + ITEMS
    app.close()
    assert "sendtab=1" in (desktop.app_dir / "pellix.ini").read_bytes().decode("cp932")


def test_the_hotkey_shows_hides_and_brings_forward(desktop: Desktop):
    write_list_file(desktop.app_dir, HISTORY, ["pasted"])
    app = Pellix.start(desktop)

    def visible() -> bool:
        return next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)["visible"]

    desktop.tool("post", app.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0)
    wait_until(lambda: not visible(), 10, "minimising to hide the window")
    desktop.tool("keys", "ctrl+a")
    wait_until(visible, 10, "the hotkey to show the hidden window")

    desktop.focus(app.hwnd)
    desktop.tool("keys", "ctrl+a")
    wait_until(lambda: not visible(), 10, "the hotkey to hide the window in use")

    desktop.tool("post", app.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
    wait_until(visible, 10, "a click on the tray icon to show it again")

    # Right after a paste the window stays and comes forward; the next press hides it.
    target = Target(desktop, app)
    paste(desktop, app, [0], 0)
    wait_until(lambda: target.text() == "pasted", 10, "the paste")
    assert desktop.foreground() == target.window
    desktop.tool("keys", "ctrl+a")
    wait_until(lambda: desktop.foreground() == app.hwnd, 10, "the window brought forward")
    assert visible()
    desktop.tool("keys", "ctrl+a")
    wait_until(lambda: not visible(), 10, "the next press to hide it")
    app.close()


def test_changing_the_hotkey(desktop: Desktop):
    app = Pellix.start(desktop)

    def ini() -> dict[str, str]:
        text = (desktop.app_dir / "pellix.ini").read_bytes().decode("cp932")
        return dict(line.split("=", 1) for line in text.split("\r\n") if "=" in line)

    assert "ホットキーを変更しました" in change_hotkey(desktop, app, 1, "b")  # Shift+
    wait_until(lambda: (desktop.app_dir / "pellix.ini").exists() and ini()["fsmods"] == "4", 10,
               "the settings written after the hotkey menu")
    assert ini()["hotkey"] == "B"

    # The new hotkey works: pressed with the window in use, it hides it.
    desktop.focus(app.hwnd)
    desktop.tool("keys", "shift+b")
    wait_until(lambda: not next(w for w in app.process.windows()
                                if w["hwnd"] == app.hwnd)["visible"], 10, "Shift+B to hide")
    desktop.tool("keys", "shift+b")
    wait_until(lambda: next(w for w in app.process.windows()
                            if w["hwnd"] == app.hwnd)["visible"], 10, "Shift+B to show")

    # Two characters are refused and change nothing.
    assert "無効な文字です" in change_hotkey(desktop, app, 4, "ab")  # Ctrl+Alt
    app.close()
    assert ini()["fsmods"] == "4" and ini()["hotkey"] == "B"


def test_the_tray_menu_opens_the_about_box_centred_and_it_keeps_its_place(desktop: Desktop):
    app = Pellix.start(desktop)

    def about() -> dict:
        # Nothing until it first opens, when it is made.
        return next((w for w in app.process.windows() if w["class"] == "AboutBox"), {})

    def open_about() -> None:
        # pellix in front, as after any click of the user's: Wine hands the activation back from
        # the about box just hidden only when the X focus follows, which would close a menu
        # opened before it.
        desktop.focus(app.hwnd)
        desktop.tool("post", app.hwnd, TRAY_CALLBACK, 0, WM_RBUTTONDOWN)  # right button on the icon
        wait_until(lambda: any(w["class"] == "#32768" and w["visible"]
                               for w in desktop.tool("windows")), 10, "the tray menu")
        # From the bottom: 終了, Windows の起動時に開始, then バージョン情報, whose sub-menu
        # opening shows the box.
        desktop.tool("keys", "up", "up", "up", "right")
        wait_until(lambda: about().get("visible"), 10, "the about box")
        desktop.tool("keys", "esc", "esc")
        wait_until(lambda: not any(w["class"] == "#32768" and w["visible"]
                                   for w in desktop.tool("windows")), 10, "the menu to close")

    open_about()
    box = about()
    texts = [c["text"] for c in desktop.tool("children", box["hwnd"])]
    assert "ぺりくす T&K" in texts and f"ver. {project_version()}" in texts and box["title"] == "バージョン情報"
    rect = box["rect"]
    centre = ((rect["left"] + rect["right"]) // 2, (rect["top"] + rect["bottom"]) // 2)
    assert abs(centre[0] - 1280 // 2) <= 1 and abs(centre[1] - 1024 // 2) <= 1, centre  # Xvfb's
    ok = next(c for c in desktop.tool("children", box["hwnd"]) if c["id"] == IDOK)
    desktop.tool("post", ok["hwnd"], BM_CLICK, 0, 0)
    wait_until(lambda: not about()["visible"], 10, "OK to hide the about box")
    open_about()
    assert about()["rect"] == rect

    # The tool button opens the same menu.
    button = next(c for c in desktop.tool("children", app.hwnd) if c["id"] == ID_BITBTN1)
    desktop.focus(app.hwnd)
    desktop.tool("post", button["hwnd"], BM_CLICK, 0, 0)
    wait_until(lambda: any(w["class"] == "#32768" and w["visible"]
                           for w in desktop.tool("windows")), 10, "the menu from the tool button")
    desktop.tool("keys", "esc")
    wait_until(lambda: not any(w["class"] == "#32768" and w["visible"]
                               for w in desktop.tool("windows")), 10, "the menu to close")
    app.close()


def test_enter_space_ctrl_c_and_a_double_click_paste_from_the_list(desktop: Desktop):
    write_list_file(desktop.app_dir, HISTORY, ["first", "second"])
    app = Pellix.start(desktop)
    target = Target(desktop, app)
    listbox = next(c for c in desktop.tool("children", app.hwnd) if c["id"] == ID_LISTBOX)["rect"]
    first_row = (str(listbox["left"] + 30), str(listbox["top"] + 6))
    # Elsewhere on that row: two clicks at one spot within the double-click time make a double
    # click, and the steps between the first click and the double click can take less than that.
    first_row_again = (str(listbox["left"] + 80), first_row[1])

    def back_to_pellix() -> None:
        target.clear()
        desktop.focus(app.hwnd)

    back_to_pellix()
    desktop.x.xdotool("mousemove", *first_row, "click", "1")
    wait_until(lambda: app.list_view()["selected"] == [0], 10, "a click to select the first item")
    desktop.xdotool_keys("Return")
    wait_until(lambda: target.text() == "first", 10, "Enter to paste the current item")

    back_to_pellix()
    desktop.xdotool_keys("Down")
    wait_until(lambda: app.list_view()["focused"] == 1, 10, "Down to the second item")
    desktop.xdotool_keys("space")
    wait_until(lambda: target.text() == "second", 10, "Space to paste the current item")

    # Both items, which the clipboard cannot hold yet: the Space paste left "second" there.
    back_to_pellix()
    desktop.xdotool_keys("shift+Up")
    wait_until(lambda: app.list_view()["selected"] == [0, 1], 10, "Shift+Up to select both items")
    desktop.xdotool_keys("ctrl+c")
    wait_until(lambda: target.text() == "first\r\nsecond", 10, "Ctrl+C to paste the selection")

    # The double click lands on an item that is not selected, the other one alone being so.
    back_to_pellix()
    desktop.xdotool_keys("Down")
    wait_until(lambda: app.list_view()["selected"] == [1], 10, "Down to the second item alone")
    desktop.x.xdotool("mousemove", *first_row_again, "click", "--repeat", "2", "--delay", "80", "1")
    wait_until(lambda: target.text() == "first", 10, "a double click to paste the item")
    app.close()
