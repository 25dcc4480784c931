"""Ending the program while it asks the user something: nothing the user had may be lost."""

from __future__ import annotations

import pytest

from harness import Desktop, procs, wait_until
from boxes import answer_input_dialog, message_box
from files import ini
from ids import CMD_EXIT, CMD_HOTKEY_FIRST, WM_CLOSE, WM_COMMAND
from pellix import HISTORY, RECORDS, Pellix, write_list_file, write_unicode_list_file

SHIFT_POSITION = 1  # the hotkey menu's Shift+ item

HISTORY_ITEMS = ["一つ目", "second", "三"]
RECORDS_ITEMS = ["記録の項目"]
UNICODE_ITEMS = ["ü wide", "emoji \U0001F600"]


def start_with_lists(desktop: Desktop) -> tuple[Pellix, dict[str, bytes]]:
    """pellix on the three default lists, each holding items; returns the list files' bytes."""
    write_list_file(desktop.app_dir, HISTORY, HISTORY_ITEMS)
    write_list_file(desktop.app_dir, RECORDS, RECORDS_ITEMS)
    write_unicode_list_file(desktop.app_dir, UNICODE_ITEMS)
    files = {name: (desktop.app_dir / name).read_bytes()
             for name in (f"{HISTORY}.dat", f"{RECORDS}.dat", "unicode.dat")}
    app = Pellix.start(desktop)
    assert app.items() == HISTORY_ITEMS
    return app, files


def end_program(desktop: Desktop, app: Pellix, how: str) -> None:
    if how == "tray menu exit":
        desktop.tool("post", app.hwnd, WM_COMMAND, CMD_EXIT, 0)
    elif how == "close request":
        desktop.tool("post", app.hwnd, WM_CLOSE, 0, 0)
    else:
        desktop.wine.end_session()
    assert procs.wait_gone(app.process.pid, 20), f"pellix kept running after the {how}"


def assert_nothing_lost(desktop: Desktop, app: Pellix, files: dict[str, bytes]) -> dict[str, str]:
    values = ini(desktop)
    lists = [values.get(f"list{k}") for k in range(3)]
    assert lists == [HISTORY, RECORDS, "unicode"], f"pellix.ini names the lists {lists}"
    rect = app.main["rect"]
    place = {"left": str(rect["left"]), "top": str(rect["top"]),
             "width": str(rect["right"] - rect["left"]), "height": str(rect["bottom"] - rect["top"])}
    written = {key: values.get(key) for key in place}
    assert written == place, f"the window's place written as {written}, not {place}"
    for name, data in files.items():
        assert (desktop.app_dir / name).read_bytes() == data, f"{name} lost its items"
    return values


def open_hotkey_question(desktop: Desktop, app: Pellix) -> None:
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_HOTKEY_FIRST + SHIFT_POSITION, 0)
    wait_until(lambda: any(w["class"] == "InputDialog" and w["visible"]
                           for w in app.process.windows()), 10, "the hotkey question")


@pytest.mark.parametrize("how", ["tray menu exit", "close request"])
def test_ending_while_the_hotkey_question_is_open_keeps_every_list(desktop: Desktop, how: str):
    """The user is asked for a new hotkey letter and, instead of answering, ends the program
    (the tray menu's 終了, or a close request such as the task manager's). The program ends,
    and the next start finds every list by name with its items, the window where it was and
    the hotkey unchanged."""
    app, files = start_with_lists(desktop)
    open_hotkey_question(desktop, app)
    end_program(desktop, app, how)
    values = assert_nothing_lost(desktop, app, files)
    hotkey = (values["fsmods"], values["hotkey"])
    assert hotkey == ("2", "A"), f"the hotkey became {hotkey}"


@pytest.mark.parametrize("how", ["tray menu exit", "close request", "end of session"])
def test_ending_while_the_hotkey_changed_box_is_open_keeps_every_list(desktop: Desktop, how: str):
    """The user picks a new hotkey letter; while the box "ホットキーを変更しました" is still open,
    the program is ended (終了, a close request, or logging off). The settings name a hotkey
    letter (the old or the new one), never an empty one, and every list keeps its name, its
    items and the window its place."""
    app, files = start_with_lists(desktop)
    open_hotkey_question(desktop, app)
    answer_input_dialog(desktop, app, "b")
    _, texts = message_box(desktop, app)
    assert "ホットキーを変更しました" in texts
    end_program(desktop, app, how)
    values = assert_nothing_lost(desktop, app, files)
    hotkey = (values["fsmods"], values["hotkey"])
    assert hotkey in (("2", "A"), ("4", "B")), f"the hotkey became {hotkey}"
