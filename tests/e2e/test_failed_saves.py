"""Nothing the user collected is lost when the program's folder cannot be written, or when files
come from other hands: a save that fails is told and asked about, the end of a session keeps what
it cannot write in a recovery folder, and files that read only in part or in another encoding are
neither cut nor garbled."""

from __future__ import annotations

import shutil
import time
from pathlib import Path

from harness import Desktop, procs, wait_until
from boxes import close_box, message_box
from clipboard import copy
from ids import EM_SETMODIFY, IDCANCEL, IDRETRY, WM_CLOSE, WM_COMMAND
from pellix import HISTORY, Pellix


def history_file(desktop: Desktop) -> Path:
    return desktop.app_dir / f"{HISTORY}.dat"


def saved_items(desktop: Desktop) -> list[str]:
    data = history_file(desktop).read_bytes() if history_file(desktop).is_file() else b""
    return [item.decode("cp932") for item in data[3:-2].split(b"\r\n][)")] if data else []


def block_history_file(desktop: Desktop) -> None:
    """A folder where the list file was: the atomic replace fails whatever the permissions."""
    history_file(desktop).unlink()
    history_file(desktop).mkdir()
    (history_file(desktop) / "inside").write_text("a folder in the way")


def unblock_history_file(desktop: Desktop) -> None:
    shutil.rmtree(history_file(desktop))


def wait_for_box(desktop: Desktop, app: Pellix, what: str) -> tuple[int, str]:
    box, texts = message_box(desktop, app)
    text = "\n".join(texts)
    assert what in text, f"expected {what!r} in the box, saw {text!r}"
    return box, text


def boxes(app: Pellix) -> list[dict]:
    return [w for w in app.process.windows() if w["class"] == "#32770" and w["visible"]]


def test_a_failing_save_is_told_once_and_the_close_asks_until_it_is_written(desktop: Desktop):
    app = Pellix.start(desktop)
    copy(desktop, "saved before")
    wait_until(lambda: saved_items(desktop) == ["saved before"], 15, "the background save")
    block_history_file(desktop)

    copy(desktop, "captured while the folder is blocked")
    wait_until(lambda: app.items(count=1) == ["captured while the folder is blocked"], 10,
               "the capture")
    box, text = wait_for_box(desktop, app, "を作成できません")
    lines = text.split("\n")
    first = next(k for k, line in enumerate(lines) if line.startswith("ファイル "))
    assert f"{HISTORY}.dat を作成できません" in lines[first], text
    assert lines[first + 1].strip(), f"no reason under the create message: {text!r}"
    close_box(desktop, app, box)

    # More captures keep failing to be written, but the user is not told again: a box would
    # stand in front of their work every few seconds. (The first retry comes after 3 s.)
    copy(desktop, "another")
    deadline = time.monotonic() + 6
    while time.monotonic() < deadline:
        assert not boxes(app), "a second box for the same file"
        time.sleep(0.2)

    # The close asks, naming the file; キャンセル keeps the program running with its items.
    desktop.tool("post", app.hwnd, WM_CLOSE, 0, 0)
    box, text = wait_for_box(desktop, app, f"{HISTORY}.dat")
    assert "再試行" in text and "キャンセル" in text
    desktop.tool("post", box, WM_COMMAND, IDCANCEL, 0)
    wait_until(lambda: not boxes(app), 10, "the question to close")
    assert app.process.running(), "the program ended although the user called the close off"
    assert app.items(count=3) == ["another", "captured while the folder is blocked",
                                  "saved before"]

    # Asked again; the folder is freed meanwhile, and 再試行 writes everything and ends.
    desktop.tool("post", app.hwnd, WM_CLOSE, 0, 0)
    box, _ = wait_for_box(desktop, app, f"{HISTORY}.dat")
    unblock_history_file(desktop)
    desktop.tool("post", box, WM_COMMAND, IDRETRY, 0)
    assert procs.wait_gone(app.process.pid, 20), "pellix kept running after 再試行 succeeded"
    assert saved_items(desktop) == ["another", "captured while the folder is blocked",
                                    "saved before"]


def recovery_root(desktop: Desktop) -> Path:
    roots = list(desktop.wine.drive_c.glob("users/*/AppData/Local/pellix/recovery"))
    assert len(roots) == 1, f"recovery folders: {roots}"
    return roots[0]


def test_the_end_of_a_session_keeps_what_it_cannot_write_and_the_next_start_says_where(
        desktop: Desktop):
    app = Pellix.start(desktop)
    copy(desktop, "first")
    wait_until(lambda: saved_items(desktop) == ["first"], 15, "the background save")
    block_history_file(desktop)
    copy(desktop, "only in memory")
    wait_until(lambda: app.items(count=1) == ["only in memory"], 10, "the capture")

    desktop.wine.end_session()
    assert procs.wait_gone(app.process.pid, 20), "pellix kept running after the session ended"
    kept = [path for path in recovery_root(desktop).glob(f"*/{HISTORY}.dat")]
    assert len(kept) == 1, f"kept: {kept}"
    assert kept[0].read_bytes() == "][)only in memory\r\n][)first\r\n".encode("cp932")
    assert (desktop.app_dir / "pellix.ini").is_file()  # what could be written was

    # The next start, from the same folder, tells once where the files are.
    unblock_history_file(desktop)
    app = Pellix.start(desktop)
    box, text = wait_for_box(desktop, app, kept[0].parent.name)
    close_box(desktop, app, box)
    assert not list(recovery_root(desktop).glob("note-*.txt")), "the note is left to tell again"
    app.close()


def test_files_from_other_hands_are_neither_cut_nor_garbled(desktop: Desktop):
    # A list file with a zero byte in it, a Unicode list saved without its mark, and a memo a
    # current editor saved in UTF-8.
    cut = "][)first\r\n".encode("cp932") + b"\0][)after the zero\r\n"
    history_file(desktop).write_bytes(cut)
    unmarked = "ü one\r\nemoji \U0001F600\r\n".encode("utf-16-le")
    (desktop.app_dir / "unicode.dat").write_bytes(unmarked)
    memo = "メモ ü \U0001F600\r\n二行目".encode("utf-8")
    (desktop.app_dir / "memo.txt").write_bytes(memo)

    app = Pellix.start(desktop)
    told = []
    for _ in range(2):
        box, text = wait_for_box(desktop, app, "最後まで読み込めませんでした")
        told.append(text)
        close_box(desktop, app, box)
    assert any(f"{HISTORY}.dat" in text for text in told) and any("unicode.dat" in text
                                                                  for text in told), told
    assert (desktop.app_dir / f"{HISTORY}.dat.bak").read_bytes() == cut
    assert (desktop.app_dir / "unicode.dat.bak").read_bytes() == unmarked
    assert app.items() == ["first"]

    memo_window = app.show_memo()
    field = next(c for c in desktop.tool("children", memo_window["hwnd"]) if c["class"] == "Edit")
    assert field["text"] == "メモ ü \U0001F600\r\n二行目"
    # Marked as typed in, the memo is written back at the exit: in UTF-8, as it came.
    desktop.tool("send", field["hwnd"], EM_SETMODIFY, 1, 0)
    app.close()
    assert (desktop.app_dir / "memo.txt").read_bytes() == memo
    # The list was rewritten with what was read; the whole original stays beside it.
    assert history_file(desktop).read_bytes() == "][)first\r\n".encode("cp932")
    assert (desktop.app_dir / f"{HISTORY}.dat.bak").read_bytes() == cut
