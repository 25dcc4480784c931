"""Texts copied by other programs land in the lists their filters choose."""

from __future__ import annotations

from harness import Desktop, wait_until
from clipboard import copy
from files import write_filter
from ids import WM_CLOSE
from pellix import HISTORY, RECORDS, Pellix, wait_items, write_list_file


def test_copies_are_captured_once_and_line_breaks_alone_are_not(desktop: Desktop):
    app = Pellix.start(desktop)
    copy(desktop, "コピーしたテキスト")
    wait_items(app, ["コピーしたテキスト"], "the copy at the top of 履歴")
    copy(desktop, "コピーしたテキスト")  # the same again: taken once
    copy(desktop, "\n")  # arrives as a bare CR LF: not taken
    copy(desktop, "second\nline")
    wait_items(app, ["second\r\nline", "コピーしたテキスト"], "the second copy on top")
    app.close()
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == \
        "][)second\r\nline\r\n][)コピーしたテキスト\r\n".encode("cp932")


def test_a_long_copy_keeps_its_first_ten_thousand_characters(desktop: Desktop):
    app = Pellix.start(desktop)
    text = "漢" * 5000 + "a" * 5000 + "末尾"
    copy(desktop, text)
    wait_until(lambda: app.list_view(count=1)["count"] == 1, 15, "the long copy")
    app.close()
    stored = (desktop.app_dir / f"{HISTORY}.dat").read_bytes()
    assert stored == b"][)" + ("漢" * 5000 + "a" * 5000).encode("cp932") + b"\r\n"


def test_priority_line_filter_takes_matching_lines(desktop: Desktop):
    write_filter(desktop.app_dir, RECORDS, type="2", kaigyo="1", astring="TEL", acount="1")
    write_list_file(desktop.app_dir, RECORDS, ["older"])
    app = Pellix.start(desktop)
    copy(desktop, "call me\nTEL 123\ntel 456")
    wait_items(app, ["call me\r\nTEL 123\r\ntel 456"], "the whole text in 履歴")
    app.pick_list(1)
    wait_items(app, ["tel 456", "TEL 123", "older"], "the matching lines in 記録, last on top")
    app.close()


def test_the_unicode_list_takes_every_change_and_keeps_it(desktop: Desktop):
    app = Pellix.start(desktop)
    app.pick_list(2)
    copy(desktop, "emoji \U0001F600")
    wait_items(app, ["emoji \U0001F600"], "the emoji in the Unicode list", "unicode")
    copy(desktop, "plain")
    copy(desktop, "emoji \U0001F600")  # a repeat too
    wait_items(app, ["emoji \U0001F600", "plain", "emoji \U0001F600"], "every change", "unicode")
    app.close()
    assert (desktop.app_dir / "unicode.dat").read_bytes().decode("utf-16") == \
        "emoji \U0001F600\r\nplain\r\nemoji \U0001F600\r\n"


def test_text_marked_as_secret_is_captured_nowhere(desktop: Desktop):
    app = Pellix.start(desktop)
    copy(desktop, "visible")
    wait_items(app, ["visible"], "an ordinary copy")
    for mark in ("ExcludeClipboardContentFromMonitorProcessing", "Clipboard Viewer Ignore",
                 "CanIncludeInClipboardHistory=0"):
        desktop.tool("clipboard-set", "secret " + mark, "--extra", mark)
    desktop.tool("clipboard-set", "allowed", "--extra", "CanIncludeInClipboardHistory=1")
    wait_items(app, ["allowed", "visible"], "only the copy that may be recorded")
    app.close()


def test_non_priority_limiting_characters_and_storage(desktop: Desktop):
    write_filter(desktop.app_dir, HISTORY, type="0")  # storage: never filled by a copy
    write_filter(desktop.app_dir, RECORDS, type="3", cstring="0123456789-")
    app = Pellix.start(desktop)
    app.pick_list(1)
    for text in ("03-1234-5678", "03 1234", "abc", "090-0000-1111"):
        copy(desktop, text)
    wait_items(app, ["090-0000-1111", "03-1234-5678"], "only telephone numbers in 記録")
    app.pick_list(0)
    wait_until(lambda: app.items() == [], 10, "nothing in the storage list")
    app.close()
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == b""


def test_a_filter_type_that_is_no_number_is_reported_and_the_lists_are_kept(desktop: Desktop):
    write_filter(desktop.app_dir, RECORDS, type="abc")
    app = Pellix.start(desktop)
    copy(desktop, "first copy")
    box = wait_until(lambda: next((w for w in app.process.windows() if w["class"] == "#32770"
                                   and w["visible"]), None), 15, "the error message box")
    texts = [c["text"] for c in desktop.tool("children", box["hwnd"])]
    assert "'abc' is not a valid integer value" in texts and box["title"] == "ぺりくす T&K"
    desktop.tool("post", box["hwnd"], WM_CLOSE, 0, 0)  # the user closes the box
    wait_until(lambda: not any(w["class"] == "#32770" and w["visible"]
                               for w in app.process.windows()), 10, "the box to close")
    assert app.process.running()
    app.close()
    # The run stopped before touching any list, and the lists were saved as they were.
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == b""


def test_japanese_text_is_code_page_932_whatever_the_locale(desktop: Desktop):
    exe = desktop.app_dir / "pellix.exe"
    exe.write_bytes(desktop.pellix_exe.read_bytes())
    process = desktop.wine.start(exe, cwd=desktop.app_dir,
                                 env={"LANG": "C.UTF-8", "LC_ALL": "C.UTF-8"})
    app = Pellix(desktop, process)
    copy(desktop, "日本語のテキスト ｶﾅ ¥")
    wait_items(app, ["日本語のテキスト ｶﾅ \\"], "the Japanese copy")
    app.close()
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == \
        b"][)" + "日本語のテキスト ｶﾅ ".encode("cp932") + b"\\\r\n"
