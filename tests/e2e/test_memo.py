"""The memo window beside the main window: memo.txt shown at start, typing kept in the file as
soon as the user turns away and at the end, list items dropped onto it, the "mm" box."""

from __future__ import annotations

from harness import Desktop, procs, wait_until
from files import base_lines, write_filter, write_ini
from gestures import drag, row_centre
from ids import (BM_GETCHECK, CMD_PASTE_OPTION_FIRST, EM_SETSEL, ID_MBOX, TRAY_CALLBACK, WM_CLOSE,
                 WM_COMMAND, WM_LBUTTONDOWN, WM_QUERYENDSESSION, WS_EX_TOOLWINDOW, WS_EX_TOPMOST)
from pellix import HISTORY, RECORDS, Pellix, click_centre, write_list_file

OPTION_TAB = 2


class Memo:
    """The memo window of a running pellix and its text field."""

    def __init__(self, desktop: Desktop, app: Pellix):
        self.desktop = desktop
        self.app = app
        self.window = app.process.wait_window(visible=False, **{"class": "MemoWindow"})
        self.hwnd = self.window["hwnd"]
        self.field = desktop.child(self.hwnd, "Edit")["hwnd"]

    def state(self) -> dict:
        return next(w for w in self.app.process.windows() if w["hwnd"] == self.hwnd)

    def visible(self) -> bool:
        return self.state()["visible"]

    def text(self) -> str:
        return self.desktop.text(self.field)

    def type_at_end(self, text: str) -> None:
        """A click into the field (the memo comes to the front), the caret to the end, typing."""
        self.desktop.focus(self.hwnd)
        rect = self.desktop.tool("children", self.hwnd)[0]["rect"]
        click_centre(self.desktop, rect)
        wait_until(lambda: self.desktop.foreground() == self.hwnd, 10, "the memo in front")
        self.desktop.tool("send", self.field, EM_SETSEL, len(self.text()), len(self.text()))
        self.desktop.tool("type", text)
        wait_until(lambda: self.text().endswith(text), 10, f"{text!r} typed into the memo")


def start_with_memo(desktop: Desktop, memo_bytes: bytes | None,
                    items: list[str] | None = None) -> tuple[Pellix, Memo]:
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines(memo="1"))
    if memo_bytes is not None:
        (desktop.app_dir / "memo.txt").write_bytes(memo_bytes)
    if items is not None:
        write_list_file(desktop.app_dir, HISTORY, items)
    app = Pellix.start(desktop)
    memo = Memo(desktop, app)
    wait_until(memo.visible, 10, "the memo window shown at start")
    return app, memo


def memo_file(desktop: Desktop) -> bytes:
    return (desktop.app_dir / "memo.txt").read_bytes()


def wait_memo_file(desktop: Desktop, expected: bytes, what: str) -> None:
    wait_until(lambda: memo_file(desktop) == expected, 10, f"{what} (file: {memo_file(desktop)!r})")


def test_memo_checked_in_the_settings_shows_the_memo_docked_with_its_file(desktop: Desktop):
    """A lone LF and a lone CR in memo.txt are read as line breaks; the window stands one pixel
    right of the main window, as tall as it, on top and off the task bar."""
    app, memo = start_with_memo(desktop, "一行目\n二行目\r三行目".encode("cp932"))
    assert memo.text() == "一行目\r\n二行目\r\n三行目"
    main = app.main["rect"]
    wait_until(lambda: memo.state()["rect"]["left"] == main["right"] + 1, 10, "the memo docked")
    rect = memo.state()["rect"]
    assert (rect["top"], rect["bottom"]) == (main["top"], main["bottom"])
    exstyle = memo.state()["exstyle"]
    assert exstyle & WS_EX_TOPMOST and exstyle & WS_EX_TOOLWINDOW
    app.close()
    # Nothing typed: the file is left as it was.
    assert memo_file(desktop) == "一行目\n二行目\r三行目".encode("cp932")


def test_typing_is_saved_on_turning_to_another_window_and_at_the_end(desktop: Desktop):
    notepad = desktop.start_notepad()
    notepad_window = notepad.wait_window(**{"class": "Notepad"})["hwnd"]
    app, memo = start_with_memo(desktop, b"old")
    memo.type_at_end(" typed")
    desktop.focus(notepad_window)
    wait_memo_file(desktop, b"old typed", "the typing saved when notepad came to the front")

    memo.type_at_end(" more")
    assert memo_file(desktop) == b"old typed"  # not before the user turns away
    app.close()
    wait_memo_file(desktop, b"old typed more", "the typing saved at the end of the program")
    notepad.stop()


def test_typing_is_saved_when_the_end_of_the_session_is_announced(desktop: Desktop):
    """The session may end without another message once WM_QUERYENDSESSION is answered, while
    the memo is still in front holding the typing; the program runs on if the end is called
    off."""
    app, memo = start_with_memo(desktop, b"")
    memo.type_at_end("note")
    assert desktop.tool("send", app.hwnd, WM_QUERYENDSESSION, 0, 0)["result"] == 1
    assert memo_file(desktop) == b"note"
    assert desktop.foreground() == memo.hwnd and memo.visible()
    memo.type_at_end(" again")
    desktop.wine.end_session()
    assert procs.wait_gone(app.process.pid, 20), "pellix kept running after the end of the session"
    assert memo_file(desktop) == b"note again"


def test_dropped_items_go_above_the_first_line_under_the_paste_option(desktop: Desktop):
    app, memo = start_with_memo(desktop, "メモ\r\n".encode("cp932"), ["x", "y", "z"])

    def drop_first_two(pressed: int) -> None:
        """x and y selected, one of them dragged: both go, in list order."""
        desktop.tool("listview-select", app.listbox, 0, 1)
        desktop.focus(app.hwnd)
        rect = memo.state()["rect"]
        drag(desktop, row_centre(desktop, app.listbox, pressed),
             ((rect["left"] + rect["right"]) // 2, (rect["top"] + rect["bottom"]) // 2))

    drop_first_two(0)  # なし: one line each, the whole without its last break
    wait_memo_file(desktop, "x\r\ny\r\nメモ\r\n".encode("cp932"), "the drop written at once")
    assert memo.text() == "x\r\ny\r\nメモ\r\n"

    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_PASTE_OPTION_FIRST + OPTION_TAB, 0)
    # Pressed on another row than before: the same row again so soon would be a double click.
    drop_first_two(1)  # Tab追加: one line, every item followed by a tab
    wait_memo_file(desktop, "x\ty\t\r\nx\r\ny\r\nメモ\r\n".encode("cp932"),
                   "the Tab追加 drop written at once")
    assert app.items() == ["x", "y", "z"]
    app.close()


def test_the_mm_box_hides_and_shows_the_memo_and_closing_it_only_hides_it(desktop: Desktop):
    app, memo = start_with_memo(desktop, b"kept")
    mbox = app.control(ID_MBOX)
    click_centre(desktop, mbox["rect"])
    wait_until(lambda: not memo.visible(), 10, "the memo hidden by clearing mm")
    click_centre(desktop, mbox["rect"])
    wait_until(memo.visible, 10, "the memo shown by checking mm")

    memo.type_at_end(" and more")
    desktop.tool("post", memo.hwnd, WM_CLOSE, 0, 0)
    wait_until(lambda: not memo.visible(), 10, "the memo hidden by its close")
    wait_memo_file(desktop, b"kept and more", "the typing saved when the memo closed")
    assert desktop.tool("send", mbox["hwnd"], BM_GETCHECK, 0, 0)["result"] == 1
    assert app.visible_window()
    app.close()


def test_the_memo_hides_and_shows_with_the_main_window_while_mm_is_checked(desktop: Desktop):
    app, memo = start_with_memo(desktop, b"")

    def tray_click(shown: bool) -> None:
        desktop.tool("send", app.hwnd, TRAY_CALLBACK, 0, WM_LBUTTONDOWN)
        wait_until(lambda: app.visible_window() == shown, 10, f"the main window shown: {shown}")

    memo.type_at_end("before hiding")
    tray_click(False)
    wait_until(lambda: not memo.visible(), 10, "the memo hidden with the main window")
    wait_memo_file(desktop, b"before hiding", "the typing saved when the memo was hidden")
    tray_click(True)
    wait_until(memo.visible, 10, "the memo shown with the main window")
    assert memo.state()["rect"]["left"] == app.main["rect"]["right"] + 1

    click_centre(desktop, app.control(ID_MBOX)["rect"])
    wait_until(lambda: not memo.visible(), 10, "the memo hidden by clearing mm")
    tray_click(False)
    tray_click(True)
    assert not memo.visible()
    app.close()


def test_a_memo_file_that_cannot_be_written_is_reported_and_written_later(desktop: Desktop):
    """No memo.txt at the start: an empty memo. A place where the file cannot be written: the
    message, the program runs on and the typing stays unsaved until a later save succeeds."""
    app, memo = start_with_memo(desktop, None)
    assert memo.text() == ""
    blocker = desktop.app_dir / "memo.txt"
    blocker.mkdir()
    memo.type_at_end("kept")
    desktop.tool("post", memo.hwnd, WM_CLOSE, 0, 0)
    box = wait_until(lambda: next((w for w in app.process.windows() if w["class"] == "#32770"
                                   and w["visible"]), None), 15, "the error message box")
    texts = [c["text"] for c in desktop.tool("children", box["hwnd"])]
    assert any("memo.txt" in text and "作成できません" in text for text in texts), texts
    assert box["title"] == "ぺりくす T&K"
    desktop.tool("post", box["hwnd"], WM_CLOSE, 0, 0)  # the user closes the box
    wait_until(lambda: not any(w["class"] == "#32770" and w["visible"]
                               for w in app.process.windows()), 10, "the box to close")
    # The box is shown while the memo is being hidden, so the memo goes only once it is closed.
    wait_until(lambda: not memo.visible(), 10, "the memo hidden once the box is closed")
    assert app.process.running()

    blocker.rmdir()
    app.close()
    assert memo_file(desktop) == b"kept"
