"""pellix.ini: read at start, written in full at the end."""

from __future__ import annotations

from harness import Desktop, procs, wait_until
from files import base_lines, write_filter, write_ini
from ids import ID_MBOX, WM_CLOSE
from pellix import HISTORY, RECORDS, Pellix, write_list_file

KEY_ORDER = ["left", "top", "height", "width", "fontsize", "fontcolor", "sendtab", "lock", "memo",
             "trans", "option", "list0", "list1", "list2", "view", "fsmods", "hotkey"]


def read_ini(desktop: Desktop) -> list[tuple[str, str]]:
    text = (desktop.app_dir / "pellix.ini").read_bytes().decode("cp932")
    assert text.endswith("\r\n")
    return [tuple(line.split("=", 1)) for line in text[:-2].split("\r\n")]


def test_first_exit_writes_every_key_in_order(desktop: Desktop):
    app = Pellix.start(desktop)
    rect = app.main["rect"]
    mbox = next(c for c in desktop.tool("children", app.hwnd) if c["id"] == ID_MBOX)["rect"]
    assert desktop.tool("pixel", mbox["right"] - 1, mbox["top"] + 2)["rgb"] != 0xFF0000
    app.close()
    lines = read_ini(desktop)
    assert [key for key, _ in lines] == KEY_ORDER
    values = dict(lines)
    assert (int(values["left"]), int(values["top"])) == (621, 140)
    assert int(values["width"]) == rect["right"] - rect["left"]
    assert int(values["height"]) == rect["bottom"] - rect["top"]
    assert values == {**values, "fontsize": "9", "fontcolor": "clWindowText", "sendtab": "0",
                      "lock": "", "memo": "0", "trans": "0", "option": "0", "list0": HISTORY,
                      "list1": RECORDS, "list2": "unicode", "view": "0", "fsmods": "2",
                      "hotkey": "A"}


def test_hand_written_settings_are_applied_and_written_back(desktop: Desktop):
    write_filter(desktop.app_dir, "a=b", type="0")
    write_list_file(desktop.app_dir, "a=b", ["in a=b"])
    write_filter(desktop.app_dir, HISTORY, type="1")
    write_filter(desktop.app_dir, "unicode", type="0")
    write_ini(desktop, ["LEFT=333", "top=200", "height=101", "width=100", "fontsize=9",
                        "fontcolor=clWindowText", "sendtab=1", "lock=0", "memo=0", "trans=0",
                        "option=12", "list0=a=b", f"list1={HISTORY}", "list3=gone", "view=1",
                        "fsmods=6", "hotkey=b", "left=999"])
    app = Pellix.start(desktop)
    assert app.selector()["items"] == ["a=b", HISTORY]  # list3 follows a gap: not read
    assert app.selector()["selected"] == 1
    rect = app.main["rect"]
    assert rect["left"] == 333 and rect["top"] == 200
    assert rect["bottom"] - rect["top"] == 101  # 101 is applied
    assert rect["right"] - rect["left"] != 100  # 100 keeps the design width
    app.pick_list(0)
    wait_until(lambda: app.items() == ["in a=b"], 10, "the list whose name holds '='")
    # Locked lists paint the window red: the strip right of the "mm" box shows it.
    mbox = next(c for c in desktop.tool("children", app.hwnd) if c["id"] == ID_MBOX)["rect"]
    pixel = desktop.tool("pixel", mbox["right"] - 1, mbox["top"] + 2)["rgb"]
    assert pixel == 0xFF0000, hex(pixel)
    app.close()
    values = dict(read_ini(desktop))
    assert values["lock"] == "1"  # any value but the empty one locks
    assert values["sendtab"] == "1"
    assert "option" not in values  # 12 checks no option, so none is written
    assert values["list0"] == "a=b" and values["fsmods"] == "6" and values["hotkey"] == "b"
    assert values["left"] == "333"


def test_view_on_the_unicode_list_shows_it_at_start(desktop: Desktop):
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines(view="2"))
    app = Pellix.start(desktop)
    wait_until(lambda: app.visible(app.tnt), 10, "the Unicode list shown at start")
    assert app.selector()["selected"] == 2
    app.close()


def files_in(desktop: Desktop) -> dict[str, bytes]:
    return {path.name: path.read_bytes() for path in desktop.app_dir.iterdir()
            if path.name != "pellix.exe"}


def refused_start(desktop: Desktop) -> list[str]:
    """Starts pellix, expecting it to refuse its files: returns the texts of the stop box's
    controls, once the program has shown no main window, closed the box and ended."""
    process = desktop.start_pellix()
    box = wait_until(lambda: next((w for w in process.windows() if w["class"] == "#32770"
                                   and w["visible"]), None), 20, "the error message")
    texts = [c["text"] for c in desktop.tool("children", box["hwnd"])]
    assert not [w for w in process.windows() if w["class"] == "MainWindow" and w["visible"]]
    desktop.tool("post", box["hwnd"], WM_CLOSE, 0, 0)
    assert procs.wait_gone(process.pid, 20), "pellix kept running after refusing its files"
    return texts


def test_a_bad_value_ends_start_up_and_leaves_every_file_alone(desktop: Desktop):
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_list_file(desktop.app_dir, HISTORY, ["keep me"])
    write_ini(desktop, base_lines(width="abc"))
    before = files_in(desktop)
    # The message says which file and which key to fix.
    assert "'abc' is not a valid integer value\r\npellix.ini: width" in refused_start(desktop)
    assert files_in(desktop) == before


def test_a_list_named_twice_ends_start_up_and_leaves_every_file_alone(desktop: Desktop):
    # One file on Windows: the second slot's stale copy would overwrite the first one's items.
    for name in (HISTORY, "memo"):
        write_filter(desktop.app_dir, name, type="1")
    write_list_file(desktop.app_dir, "memo", ["keep me"])
    write_ini(desktop, base_lines(list0="memo", list1=HISTORY, list2="MEMO"))
    before = files_in(desktop)
    message = 'pellix.ini の list0 "memo" と list2 "MEMO" は同じファイルを使うため、読み込めません'
    assert message in refused_start(desktop)
    assert files_in(desktop) == before


def test_a_list_name_that_is_no_file_name_is_refused(desktop: Desktop):
    write_ini(desktop, base_lines(list0="..\\outside"))
    message = 'pellix.ini の list0 "..\\outside" はファイル名に使えないため、読み込めません'
    assert message in refused_start(desktop)
    assert not (desktop.app_dir.parent / "outside.flt").exists()
