"""テキストの取り込み (Ctrl+G): a text file sorted through the filters as one text, or its lines put
into the shown list."""

from __future__ import annotations

from pathlib import Path

from harness import Desktop, wait_until
from harness.wine import windows_path
from harness.xdnd import drop_files
from actors import start_actor
from files import list_file
from ids import CMD_IMPORT_TEXT, IDNO, IDYES, ID_LISTBOX, WM_CLOSE, WM_COMMAND
from pellix import HISTORY, RECORDS, Pellix, write_list_file


def visible_dialog(app: Pellix) -> dict | None:
    return next((w for w in app.process.windows() if w["class"] == "#32770" and w["visible"]), None)


def import_file(desktop: Desktop, app: Pellix, path: Path, answer: int) -> None:
    """The user asks for the import, answers the question and picks the file by typing its
    name into the file dialog."""
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_IMPORT_TEXT, 0)
    question = wait_until(lambda: visible_dialog(app), 10, "the question")
    texts = [c["text"] for c in desktop.tool("children", question["hwnd"])]
    assert "テキストを振り分け処理しますか？" in texts and question["title"] == "確認"
    desktop.tool("post", question["hwnd"], WM_COMMAND, answer, 0)
    dialog = wait_until(lambda: (d := visible_dialog(app)) and d["hwnd"] != question["hwnd"]
                        and d, 10, "the file dialog")
    desktop.focus(dialog["hwnd"])
    desktop.tool("type", windows_path(path))
    desktop.tool("keys", "enter")
    wait_until(lambda: not any(w["hwnd"] == dialog["hwnd"] and w["visible"]
                               for w in app.process.windows()), 10, "the file dialog to close")


def test_yes_sorts_the_whole_file_once_and_no_inserts_its_lines(desktop: Desktop, tmp_path: Path):
    write_list_file(desktop.app_dir, HISTORY, ["old"])
    write_list_file(desktop.app_dir, RECORDS, ["r1", "r2", "r3"])
    cp932 = tmp_path / "three.txt"
    cp932.write_bytes("一行目\r\n二行目\r\nthird".encode("cp932"))
    app = Pellix.start(desktop)

    # はい: the three lines are one text, a line break after the last, in the accept-all 履歴.
    import_file(desktop, app, cp932, IDYES)
    wait_until(lambda: app.items() == ["一行目\r\n二行目\r\nthird\r\n", "old"], 10,
               "the file sorted into 履歴 as one item")
    import_file(desktop, app, cp932, IDYES)  # the same file again is taken for a repeat
    utf8 = tmp_path / "utf8.txt"
    utf8.write_bytes("日本語のテキスト\n".encode("utf-8"))
    import_file(desktop, app, utf8, IDYES)
    wait_until(lambda: app.items()[0] == "日本語のテキスト\r\n", 10, "the UTF-8 file, read as such")
    assert app.items()[1:] == ["一行目\r\n二行目\r\nthird\r\n", "old"]

    # いいえ: the lines go in at the focused item of the shown list, in file order.
    app.pick_list(1)
    wait_until(lambda: app.items() == ["r1", "r2", "r3"], 10, "記録 shown")
    desktop.tool("listview-select", app.listbox, 2)
    import_file(desktop, app, cp932, IDNO)
    wait_until(lambda: app.items() == ["r1", "r2", "一行目", "二行目", "third", "r3"], 10,
               "the lines inserted above the focused item")
    app.close()
    assert list_file(desktop, RECORDS) == ["r1", "r2", "一行目", "二行目", "third", "r3"]
    assert list_file(desktop, HISTORY)[0] == "日本語のテキスト"


def test_dropped_files_are_sorted_as_the_list_of_their_names(desktop: Desktop, tmp_path: Path):
    """Three files dropped on the window from the Linux side go into the accept-all list as one
    text: their path names sorted without regard to case, one a line; the same drop again is
    sorted again."""
    write_list_file(desktop.app_dir, HISTORY, ["old"])
    files = [tmp_path / name for name in ("b.txt", "A.txt", "c.txt")]
    for file in files:
        file.write_bytes(b"contents are never read")
    app = Pellix.start(desktop)
    main = next(w for w in app.process.windows() if w["hwnd"] == app.hwnd)
    listbox = app.control(ID_LISTBOX)["rect"]
    point = ((listbox["left"] + listbox["right"]) // 2, (listbox["top"] + listbox["bottom"]) // 2)
    expected = "\r\n".join(windows_path(tmp_path / name) for name in ("A.txt", "b.txt", "c.txt"))
    for times in (1, 2):
        drop_files(desktop.wine.env["DISPLAY"], main["x11"], *point, files)
        wait_until(lambda: app.items()[:times] == [expected] * times, 10,
                   f"drop {times} sorted into 履歴")
    assert app.items() == [expected, expected, "old"]
    app.close()


def test_a_file_another_program_keeps_locked_is_reported_and_changes_nothing(desktop: Desktop,
                                                                             tmp_path: Path):
    """A file that cannot be read (another program holds it, sharing it with nobody) gives the
    message naming it; the program keeps running with its lists as they were."""
    write_list_file(desktop.app_dir, HISTORY, ["kept"])
    locked = tmp_path / "locked.txt"
    locked.write_bytes(b"cannot be read now")
    holder, hello = start_actor(desktop, "hold-file", "--file", windows_path(locked),
                                "--seconds", "120")
    assert hello["held"], "the other program holds the file"
    app = Pellix.start(desktop)
    import_file(desktop, app, locked, IDYES)
    box = wait_until(lambda: visible_dialog(app), 10, "the error message")
    texts = " ".join(c["text"] for c in desktop.tool("children", box["hwnd"]))
    assert "locked.txt" in texts and "開けません" in texts, texts
    desktop.tool("post", box["hwnd"], WM_CLOSE, 0, 0)
    wait_until(lambda: not visible_dialog(app), 10, "the box closed")
    assert app.items() == ["kept"]
    holder.stop()
    app.close()
    assert list_file(desktop, HISTORY) == ["kept"]
