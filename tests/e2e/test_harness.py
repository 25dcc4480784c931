"""The harness proves itself on Wine's own notepad and on pxtestwin before it drives pellix."""

from __future__ import annotations

import shutil
import time
from pathlib import Path

import pytest

from harness import Desktop, WaitTimeout, WineSession, procs, wait_until, windows_path
from harness.syncthing import SyncthingPair, conflict_copies
from harness.two_pcs import TwoPCs
from clipboard import copy
from files import list_file
from ids import VK_END
from pcs import pc_name, start_both, wait_shown
from pellix import HISTORY


def open_notepad(desktop: Desktop) -> tuple[dict, dict]:
    notepad = desktop.start_notepad()
    window = notepad.wait_window(**{"class": "Notepad"})
    return window, desktop.child(window["hwnd"], "Edit")


def test_wait_until_reports_what_it_waited_for():
    polls = []
    started = time.monotonic()
    with pytest.raises(WaitTimeout, match=r"0.2s waiting for the answer \(last value: None\)"):
        wait_until(lambda: polls.append(1), 0.2, "the answer")
    assert time.monotonic() - started < 2 and len(polls) > 1

    def broken():
        raise ValueError("window vanished")
    with pytest.raises(WaitTimeout, match="last error: ValueError"):
        wait_until(broken, 0.1, "a window")
    assert wait_until(lambda: "ready", 1, "a value") == "ready"


def test_notepad_starts_and_its_windows_are_found(desktop: Desktop):
    notepad = desktop.start_notepad()
    window = notepad.wait_window(**{"class": "Notepad"})
    assert window["pid"] == notepad.wpid
    assert window["visible"] and window["x11"] != 0
    # The Japanese locale reaches Wine: notepad names itself in Japanese.
    assert "メモ帳" in window["title"]
    classes = [c["class"] for c in desktop.tool("children", window["hwnd"])]
    assert "Edit" in classes
    listed = desktop.tool("windows", "--pid", notepad.wpid)
    assert window["hwnd"] in [w["hwnd"] for w in listed]
    # Message-only windows are listed apart: Wine's clipboard manager has one.
    assert "__wine_clipboard_manager" in [w["class"] for w in desktop.tool("windows", "--message")]
    assert procs.process_state(notepad.pid) not in (None, "Z")


def test_text_typed_with_xdotool_arrives_in_notepad(desktop: Desktop):
    window, edit = open_notepad(desktop)
    focused = desktop.focus(window["hwnd"])
    assert focused["hwnd"] == window["hwnd"]
    assert desktop.tool("get-foreground")["focus"] == edit["hwnd"]
    desktop.xdotool_type("Hello, e2e 123!")
    desktop.wait_until(lambda: desktop.text(edit["hwnd"]) == "Hello, e2e 123!", 10,
                       "the typed text in notepad")
    desktop.xdotool_keys("BackSpace", "Return")
    desktop.wait_until(lambda: desktop.text(edit["hwnd"]) == "Hello, e2e 123\r\n", 10,
                       "BackSpace and Return in notepad")


def test_x_clipboard_text_is_seen_in_wine_and_pastes_exactly(desktop: Desktop):
    desktop.xclip_set("テスト漢字abc\nline 2\t¥end")
    expected = "テスト漢字abc\r\nline 2\t¥end"
    seen = desktop.wait_until(
        lambda: (c := desktop.tool("clipboard-get", "--raw", "CF_TEXT"))["text"] == expected and c,
        10, "the X clipboard text in Wine's clipboard")
    assert "CF_UNICODETEXT" in [f["name"] for f in seen["formats"]]
    # ANSI readers get code page 932, where the yen sign has no code of its own and becomes 0x5C.
    cp932 = expected.replace("¥", "\\").encode("cp932")
    assert bytes.fromhex(seen["raw"]).rstrip(b"\0") == cp932

    window, edit = open_notepad(desktop)
    desktop.focus(window["hwnd"])
    desktop.xdotool_keys("ctrl+v")
    desktop.wait_until(lambda: desktop.text(edit["hwnd"]) == expected, 10,
                       "the pasted text in notepad")


def test_wine_clipboard_text_reaches_x(desktop: Desktop):
    written = desktop.tool("clipboard-set", "日本語のテキスト\nおわり")
    assert written["ok"]
    assert desktop.tool("clipboard-get")["text"] == "日本語のテキスト\nおわり"
    desktop.wait_until(lambda: desktop.xclip_get() == "日本語のテキスト\nおわり".encode(), 10,
                       "Wine's clipboard text on the X side")


def test_clipboard_set_from_file_keeps_exact_text_and_marker_formats(desktop: Desktop,
                                                                      tmp_path: Path):
    source = tmp_path / "clip.txt"
    text = "行1\r\n\"quoted\" \\ back\u3000全角スペース\U0001F600"
    source.write_bytes(text.encode())
    desktop.tool("clipboard-set", "--file", desktop.windows_path(source),
                 "--extra", "ExcludeClipboardContentFromMonitorProcessing",
                 "--extra", "CanIncludeInClipboardHistory=0")
    got = desktop.tool("clipboard-get", "--raw", "CanIncludeInClipboardHistory")
    assert got["text"] == text
    names = [f["name"] for f in got["formats"]]
    assert "ExcludeClipboardContentFromMonitorProcessing" in names
    assert got["raw"] == "00000000"


def test_sendinput_keys_reach_the_foreground_window(desktop: Desktop):
    window, edit = open_notepad(desktop)
    desktop.focus(window["hwnd"])
    desktop.tool("type", "日本語とabc")
    desktop.wait_until(lambda: desktop.text(edit["hwnd"]) == "日本語とabc", 10,
                       "SendInput characters in notepad")
    desktop.tool("keys", "backspace", "home", "shift+end")
    desktop.tool("type", "置換")
    desktop.wait_until(lambda: desktop.text(edit["hwnd"]) == "置換", 10,
                       "SendInput chords in notepad")


def test_controls_of_another_process_are_read_back(desktop: Desktop):
    testwin = desktop.start_testwin(items=100_000)
    window = testwin.wait_window(**{"class": "PxTestWindow"})
    assert window["title"] == "pxtestwin テスト"
    list_view = desktop.child(window["hwnd"], "SysListView32")["hwnd"]

    # Owner data: the texts exist only as answers to LVN_GETDISPINFO in the other process.
    head = desktop.tool("listview", list_view, "--start", 0, "--count", 3)
    assert head["count"] == 100_000 and head["owner_data"]
    assert [i["text"] for i in head["items"]] == ["項目 000000", "項目 000001", "項目 000002"]
    tail = desktop.tool("listview", list_view, "--start", 99_998, "--count", 5)
    assert [(i["index"], i["text"]) for i in tail["items"]] == [(99_998, "項目 099998"),
                                                              (99_999, "項目 099999")]
    assert tail["selected"] == [] and tail["top"] == 0

    # A key press posted to the list view moves the selection as it would for a user.
    desktop.tool("post", list_view, "WM_KEYDOWN", VK_END, 0)
    moved = desktop.wait_until(
        lambda: (s := desktop.tool("listview", list_view, "--start", 99_999, "--count", 1))
        ["focused"] == 99_999 and s, 10, "the list view to follow the End key")
    assert moved["selected"] == [99_999] and moved["selected_count"] == 1
    assert moved["items"] == [{"index": 99_999, "text": "項目 099999", "selected": True,
                               "focused": True}]
    assert moved["top"] > 0 and moved["top"] + moved["per_page"] >= 100_000

    desktop.tool("listview-select", list_view, 12, 5, 40_000)
    picked = desktop.tool("listview", list_view, "--start", 4, "--count", 2)
    assert picked["selected"] == [5, 12, 40_000] and picked["focused"] == 12
    assert [(i["selected"], i["focused"]) for i in picked["items"]] == [(False, False),
                                                                       (True, False)]

    # Rows on the screen: after the select, item 12 is in view; item 13 stands right under it,
    # within the list view's own rectangle.
    rows = desktop.tool("listview-rows", list_view, 12, 13)["rows"]
    frame = desktop.child(window["hwnd"], "SysListView32")["rect"]
    assert rows[1]["top"] == rows[0]["bottom"] > rows[0]["top"]
    assert frame["left"] <= rows[0]["left"] < frame["right"]
    assert frame["top"] <= rows[0]["top"] and rows[1]["bottom"] <= frame["bottom"]

    list_box = desktop.tool("listbox", desktop.child(window["hwnd"], "ListBox")["hwnd"])
    assert list_box["items"] == ["りんご", "banana", "漢字テキスト", "last"]
    assert list_box["multi"] and list_box["selected"] == [0, 2] and list_box["caret"] == 2
    combo = desktop.tool("combobox", desktop.child(window["hwnd"], "ComboBox")["hwnd"])
    assert combo["items"] == ["一", "二", "三"] and combo["selected"] == 1 and combo["text"] == "二"
    assert desktop.text(desktop.child(window["hwnd"], "Edit")["hwnd"]) == "編集テキスト"

    assert testwin.stop().how == "exited"


def test_send_reports_the_answer_and_a_bad_handle_fails(desktop: Desktop):
    testwin = desktop.start_testwin(items=7)
    window = testwin.wait_window(**{"class": "PxTestWindow"})
    list_view = desktop.child(window["hwnd"], "SysListView32")["hwnd"]
    assert desktop.tool("send", list_view, "0x1004", 0, 0)["result"] == 7  # LVM_GETITEMCOUNT
    with pytest.raises(Exception, match="no such window"):
        desktop.tool("text", "0x7ffffff0")


def test_teardown_stops_everything_it_started(wine_template: Path, session_env: dict,
                                              tmp_path: Path, e2e_paths):
    session = WineSession(wine_template, tmp_path / "own", session_env, e2e_paths.pxtool)
    try:
        polite = session.start_notepad()
        stubborn = session.start_notepad()
        testwin = session.start(e2e_paths.pxtestwin, "--items", "10")
        for process in (polite, stubborn, testwin):
            process.wait_window()
        # Unsaved text makes notepad ask before closing. The harness answers "don't save" for the
        # polite one; nobody answers the stubborn one, so it must be killed.
        for notepad in (polite, stubborn):
            edit = [c for c in session.tool("children", notepad.windows(visible=True)[0]["hwnd"])
                    if c["class"] == "Edit"][0]
            session.tool("post", edit["hwnd"], "WM_CHAR", ord("x"), 0)
            wait_until(lambda: session.tool("text", edit["hwnd"])["text"] == "x", 10,
                       "unsaved text in notepad")
        stubborn.before_close = None
        assert stubborn.stop(timeout=1).how == "killed"
        assert polite.stop().how == "exited"
        pids = [p.pid for p in session.processes]
    finally:
        session.close()
    try:
        assert all(procs.is_gone(pid) for pid in pids)
        assert testwin.reap() is not None
        assert procs.marked_processes("WINEPREFIX", str(session.prefix)) == []
    finally:
        shutil.rmtree(session.prefix, ignore_errors=True)


def test_end_session_ends_the_programs(desktop: Desktop):
    testwin = desktop.start_testwin(items=3)
    testwin.wait_window()
    desktop.wine.end_session()
    desktop.wait_until(lambda: not testwin.running(), 10, "pxtestwin to end with the session")
    assert testwin.stop().how == "already gone"


def same_file(one: Path, other: Path) -> bool:
    return one.exists() and other.exists() and one.read_bytes() == other.read_bytes()


def test_a_file_written_in_one_syncthing_folder_appears_in_the_other(tmp_path: Path,
                                                                    session_env: dict):
    """The Syncthing pair on its own: a file written, changed and removed on one side is so on
    the other within a few seconds; pellix's transient files stay where they were written;
    files changed on both sides at once end up as conflict copies under the name the tests
    look for; and the stop leaves no process behind."""
    one, two = tmp_path / "a", tmp_path / "b"
    pair = SyncthingPair(tmp_path / "syncthing", (one, two), session_env)
    try:
        pair.start()
        for source, target in ((one, two), (two, one)):
            started = time.monotonic()
            (source / "履歴.dat").write_bytes(f"][){source.name}\r\n".encode())
            wait_until(lambda: same_file(source / "履歴.dat", target / "履歴.dat"), 15,
                       f"履歴.dat written in {source.name} to appear in {target.name}")
            print(f"{source.name} -> {target.name}: {time.monotonic() - started:.1f} s")
            pair.wait_in_step(30)

        transient = [f"履歴.dat.{suffix}" for suffix in ("lock", "saving", "replaced")]
        for name in transient:
            (one / name).write_bytes(b"transient")
        (one / "記録.dat").write_bytes(b"][)after\r\n")
        wait_until(lambda: (two / "記録.dat").exists(), 15, "記録.dat, written after them")
        pair.wait_in_step(30)
        assert [name for name in transient if (two / name).exists()] == []

        (two / "記録.dat").unlink()
        wait_until(lambda: not (one / "記録.dat").exists(), 15, "the removal of 記録.dat")

        conflicts: list[str] = []
        for round_ in range(1, 6):
            for folder in (one, two):
                (folder / "履歴.dat").write_bytes(f"][){folder.name} {round_}\r\n".encode())
            pair.wait_in_step(60)
            conflicts = conflict_copies(one) + conflict_copies(two)
            if conflicts:
                break
        print(f"conflict copies after {round_} round(s): {conflicts}")
        assert conflicts and all(name.startswith("履歴.sync-conflict-") and name.endswith(".dat")
                                 for name in conflicts)
    finally:
        pair.stop()
    assert all(procs.is_gone(device.process.pid) for device in pair.devices)
    assert all(device.log.stat().st_size > 0 for device in pair.devices)


def test_two_pcs_run_pellix_at_once_each_on_its_own_desktop(two_pcs: TwoPCs):
    """Both PCs' pellix run at the same time from one folder (shared) or from two (Syncthing),
    each in its own Wine and with its own clipboard: a copy on one PC is on that PC's clipboard
    only, and captured and saved by that PC's pellix into its folder, which Syncthing carries over
    to the other PC's."""
    pc1, pc2 = two_pcs
    assert pc1.wine.prefix != pc2.wine.prefix
    assert pc1.x.env["DISPLAY"] != pc2.x.env["DISPLAY"]
    assert (pc1.app_dir == pc2.app_dir) == (two_pcs.setup == "shared")
    apps = start_both(two_pcs)
    for pc, app in zip(two_pcs, apps):
        running = [p for p in pc.tool("processes") if p["exe"].lower() == "pellix.exe"]
        assert [p["pid"] for p in running] == [app.process.wpid]
        assert windows_path(pc.app_dir / "pellix.exe").lower() == running[0]["path"].lower()

    for pc, app, other in ((pc1, apps[0], pc2), (pc2, apps[1], pc1)):
        text = f"{pc_name(two_pcs, pc)} だけのコピー"
        copy(pc, text)
        wait_shown(app, text, 10, f"{text} captured on its own PC")
        assert other.tool("clipboard-get")["text"] != text
        assert other.xclip_get() != text.encode()
        # Saved on its own PC, then carried over; the next copy waits, so that the two PCs never
        # change the file at once (what pellix makes of that is test_two_pcs.py's business).
        wait_until(lambda: text in list_file(pc, HISTORY), 10, f"{text} saved in its folder")
        two_pcs.wait_in_step()
    for app in apps:
        app.close()
    two_pcs.wait_in_step()
    for folder in two_pcs.folders:
        assert (folder / f"{HISTORY}.dat").exists() and (folder / "pellix.ini").exists()
