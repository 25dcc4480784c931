"""キー入力で貼り付け (Shift+Enter): the paste text typed into the target as characters, for
fields that refuse a paste and remote sessions without a shared clipboard. The clipboard is left
alone, a long text goes a slice at a time while pellix keeps answering, and Esc or another
window in front stops it where it is."""

from __future__ import annotations

import re
import time
from contextlib import contextmanager

import pytest

from harness import Desktop, wait_until
from files import write_later_start
from gestures import right_click_menu, row_centre
from ids import CMD_PASTE_OPTION_FIRST, CMD_TAB_MODE, WM_COMMAND
from notepad import Target
from pellix import HISTORY, Pellix, show_unicode_list, write_list_file, write_unicode_list_file
from tray import PLAIN_TIP, balloon_texts, tray_tip

# Typed as 5,000 characters: 50 lines of 99 characters and a line break (one Enter) each.
LONG_LINES = [(f"{n:02d} 長い行の入力 typing slowly " + "あいうえお abcdefghij " * 7)[:99]
              for n in range(50)]
LONG_TEXT = "\r\n".join(LONG_LINES) + "\r\n"


def settled(read, what: str, quiet: float = 1.0, timeout: float = 60):
    """The value once it has stayed the same for `quiet` seconds."""
    last = [read(), time.monotonic()]

    def still() -> bool:
        now = read()
        if now != last[0]:
            last[:] = [now, time.monotonic()]
        return time.monotonic() - last[1] >= quiet
    wait_until(still, timeout, what)
    return last[0]


@contextmanager
def typing_into(app: Pellix, target: Target):
    """A long typing under way. Whatever ends it, pellix stops typing and notepad takes its last
    key before the test's end closes notepad: keys still arriving after the close told notepad
    its text needs no saving would answer its save question, and type a file name."""
    try:
        yield
    finally:
        if app.process.running():
            app.close()
        settled(target.text, "notepad to take its last key")


def start(desktop: Desktop, items: list[str]) -> tuple[Pellix, Target]:
    write_later_start(desktop)  # no first start's balloon
    write_list_file(desktop.app_dir, HISTORY, items)
    app = Pellix.start(desktop)
    return app, Target(desktop, app)


def type_item(desktop: Desktop, app: Pellix, index: int) -> None:
    desktop.focus(app.hwnd)
    desktop.tool("listview-select", app.listbox, index)
    desktop.xdotool_keys("shift+Return")


def clipboard_now(desktop: Desktop) -> tuple[str, int]:
    answer = desktop.tool("clipboard-get")
    return answer["text"], answer["sequence"]


def users_clipboard(desktop: Desktop) -> tuple[str, int]:
    """What the user had on the clipboard, marked as a secret so that pellix does not take it in:
    a typed paste must leave it as it is, text and sequence number."""
    desktop.tool("clipboard-set", "手元のクリップボード", "--extra", "Clipboard Viewer Ignore")
    return clipboard_now(desktop)


def test_shift_enter_types_the_text_and_leaves_the_clipboard_alone(desktop: Desktop):
    items = ["日本語のテキスト", "plain ASCII 123 !?", "一行目\r\nsecond line"]
    app, target = start(desktop, items)
    before = users_clipboard(desktop)

    for index, item in enumerate(items):
        target.clear()
        type_item(desktop, app, index)
        wait_until(lambda: target.text() == item, 10, f"{item!r} typed into notepad")

    # From the list's menu (the entry under コピー), built as a paste is: the two items under
    # Tab追加, and the Tab of tab mode after them.
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_PASTE_OPTION_FIRST + 2, 0)
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_TAB_MODE, 0)
    target.clear()
    desktop.tool("listview-select", app.listbox, 0, 1)
    right_click_menu(desktop, app, row_centre(desktop, app.listbox, 1), "down", "down", "return")
    wait_until(lambda: target.text() == "日本語のテキスト\tplain ASCII 123 !?\t\t", 10,
               "the menu's typed paste under Tab追加 in tab mode")

    assert clipboard_now(desktop) == before, "the typed paste touched the clipboard"
    assert app.items() == items, "something typed was captured"
    app.close()


def test_the_unicode_list_types_what_code_page_932_cannot_hold(desktop: Desktop):
    write_unicode_list_file(desktop.app_dir, ["ü € \U0001F600 Ελληνικά"])
    app, target = start(desktop, [])
    before = users_clipboard(desktop)
    show_unicode_list(app)
    desktop.focus(app.hwnd)
    desktop.tool("listview-select", app.tnt, 0)
    desktop.xdotool_keys("shift+Return")
    wait_until(lambda: target.text() == "ü € \U0001F600 Ελληνικά", 10,
               "the Unicode item typed, the emoji as a surrogate pair")
    assert clipboard_now(desktop) == before, "the typed paste touched the clipboard"
    app.close()


def test_a_long_text_arrives_whole_while_pellix_keeps_answering(desktop: Desktop):
    app, target = start(desktop, [LONG_TEXT])
    with typing_into(app, target):
        type_item(desktop, app, 0)
        # Past the first second the tip says how far the typing has come.
        wait_until(lambda: len(target.text()) >= 300, 30, "the typing under way")
        tip = tray_tip(desktop)
        assert re.fullmatch(rf"{PLAIN_TIP}\nキー入力中 [\d,]+ / 5,000 文字（Esc で中止）", tip), tip

        longest_ms = 0.0
        deadline = time.monotonic() + 180
        while target.text() != LONG_TEXT:
            assert time.monotonic() < deadline, f"only {len(target.text())} characters arrived"
            stall = desktop.tool("message-stall", app.hwnd, "--ms", 2000, timeout=30)
            longest_ms = max(longest_ms, stall["longest_us"] / 1000)
        # A loop inside a handler would keep WM_NULL waiting for the whole typing.
        assert longest_ms < 500, f"pellix kept a message waiting {longest_ms:.0f} ms"
        wait_until(lambda: tray_tip(desktop) == PLAIN_TIP, 30, "the tip to be plain again")


@pytest.mark.parametrize("how", ["esc", "another window"])
def test_esc_or_another_window_in_front_stops_the_typing(desktop: Desktop, how: str):
    app, target = start(desktop, [LONG_TEXT])
    with typing_into(app, target):
        type_item(desktop, app, 0)
        wait_until(lambda: len(target.text()) >= 200, 30, "the typing under way")
        if how == "esc":
            desktop.x.xdotool("keydown", "Escape")
        else:
            desktop.focus(app.hwnd)
        try:
            typed = settled(target.text, "the typing to stop")
        finally:
            if how == "esc":
                desktop.x.xdotool("keyup", "Escape")
        assert 200 <= len(typed) < len(LONG_TEXT) // 2, len(typed)
        # Nothing went elsewhere: an Enter of the text in pellix's list would have pasted.
        assert LONG_TEXT.startswith(typed)
        if how == "another window":
            texts = wait_until(lambda: balloon_texts(desktop), 15, "a balloon about the typing")
            assert len(texts) == 1 and re.fullmatch(
                r"入力の途中でほかのウィンドウが前面に出たため、キー入力を止めました。"
                r"（[\d,]+ / 5,000 文字を入力済み）クリップボードは使っていません。", texts[0]), texts
