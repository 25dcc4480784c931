"""The windows beside the list window (memo, edit box, filter dialogs, about box) are made when
first needed, not at start: from their first use on they behave as if they had always been
there, and a memo.txt that cannot be read still stops the start."""

from __future__ import annotations

from harness import Desktop, procs, wait_until, windows_path
from boxes import visible_window
from files import base_lines, write_filter, write_ini
from gestures import drag, row_centre
from ids import BM_CLICK, ID_MBOX, WM_CLOSE, WS_EX_LAYERED
from pellix import HISTORY, RECORDS, Pellix, write_list_file

LATER = {"EditBox", "FilterListDialog", "FilterEditor", "MemoWindow", "AboutBox"}


def made(app: Pellix) -> set[str]:
    return {w["class"] for w in app.process.windows()} & LATER


def start(desktop: Desktop, items: list[str], **settings: str) -> Pellix:
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines(**settings))
    write_list_file(desktop.app_dir, HISTORY, items)
    return Pellix.start(desktop)


def test_a_memo_shown_after_start_holds_memo_txt_docks_and_takes_a_drop(desktop: Desktop):
    """Hidden at start (mm unchecked): the first check of "mm" shows memo.txt as read at start,
    docked one pixel right of the main window; an item dragged onto it goes above its first
    line and into the file at once."""
    (desktop.app_dir / "memo.txt").write_bytes("前からのメモ\r\n".encode("cp932"))
    app = start(desktop, ["x", "y"])
    assert made(app) == set()

    memo = app.show_memo()
    assert made(app) == {"MemoWindow"}
    field = desktop.child(memo["hwnd"], "Edit")["hwnd"]
    assert desktop.text(field) == "前からのメモ\r\n"
    main = next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)["rect"]
    assert memo["rect"]["left"] == main["right"] + 1 and memo["rect"]["top"] == main["top"]
    assert memo["rect"]["bottom"] - memo["rect"]["top"] == main["bottom"] - main["top"]

    desktop.tool("listview-select", app.listbox, 0)
    desktop.focus(app.hwnd)
    rect = memo["rect"]
    drag(desktop, row_centre(desktop, app.listbox, 0),
         ((rect["left"] + rect["right"]) // 2, (rect["top"] + rect["bottom"]) // 2))
    expected = "x\r\n前からのメモ\r\n".encode("cp932")
    wait_until(lambda: (desktop.app_dir / "memo.txt").read_bytes() == expected, 10,
               "the drop written to memo.txt")
    assert desktop.text(field) == expected.decode("cp932")
    app.close()
    assert (desktop.app_dir / "memo.txt").read_bytes() == expected
    assert "memo=1" in (desktop.app_dir / "pellix.ini").read_bytes().decode("cp932")


def test_a_memo_made_after_the_transparent_mode_was_set_is_see_through_too(desktop: Desktop):
    app = start(desktop, ["x"], trans="1")
    assert app.show_memo()["exstyle"] & WS_EX_LAYERED
    app.close()


def test_a_memo_never_shown_keeps_memo_txt_as_it_was(desktop: Desktop):
    """Not shown in the whole run: the memo is never made, and the end writes no memo.txt over
    the one that was there, nor one where there was none."""
    memo = "メモ ü\r\n".encode("utf-8")
    (desktop.app_dir / "memo.txt").write_bytes(memo)
    app = start(desktop, ["x"])
    app.close()
    assert (desktop.app_dir / "memo.txt").read_bytes() == memo

    (desktop.app_dir / "memo.txt").unlink()
    app = Pellix.start(desktop)
    app.close()
    assert not (desktop.app_dir / "memo.txt").exists()


def test_a_memo_txt_that_cannot_be_read_stops_the_start(desktop: Desktop):
    """The memo's window waits until it is needed, its file does not: a memo.txt that another
    program holds is told in a stop box before the list window shows, and nothing is written."""
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines())
    write_list_file(desktop.app_dir, HISTORY, ["keep me"])
    memo = desktop.app_dir / "memo.txt"
    memo.write_bytes(b"held")
    holder, hello = desktop.start_actor("hold-file", "--file", windows_path(memo), "--seconds",
                                        "120", name="hold-file")
    assert hello["held"]
    def files() -> dict[str, bytes]:
        return {p.name: p.read_bytes() for p in desktop.app_dir.iterdir() if p.name != "pellix.exe"}
    before = files()
    process = desktop.start_pellix()
    box = wait_until(lambda: next((w for w in process.windows() if w["class"] == "#32770"
                                   and w["visible"]), None), 20, "the stop box")
    texts = [c["text"] for c in desktop.tool("children", box["hwnd"])]
    assert any("memo.txt" in text for text in texts), texts
    assert not [w for w in process.windows() if w["class"] == "MainWindow" and w["visible"]]
    desktop.tool("post", box["hwnd"], WM_CLOSE, 0, 0)
    assert procs.wait_gone(process.pid, 20), "pellix kept running after the stop box"
    holder.stop()
    assert files() == before


def test_the_mm_box_before_the_memo_is_made_and_after(desktop: Desktop):
    """Checked in the settings, the memo is made and shown at start; unchecked, hidden; checked
    again, the same window shows again."""
    (desktop.app_dir / "memo.txt").write_bytes(b"m\r\n")
    app = start(desktop, ["x"], memo="1")
    memo = wait_until(lambda: visible_window(app, "MemoWindow"), 10, "the memo shown at start")
    mbox = app.control(ID_MBOX)["hwnd"]
    desktop.tool("post", mbox, BM_CLICK, 0, 0)
    wait_until(lambda: visible_window(app, "MemoWindow") is None, 10, "the memo hidden")
    assert app.show_memo()["hwnd"] == memo["hwnd"]
    app.close()
