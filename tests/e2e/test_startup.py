"""Start-up, the single instance, the list window and the saving of every list at the end."""

from __future__ import annotations

import subprocess
import time

from harness import Desktop, procs, wait_until
from ids import CMD_FULL_TO_HALF_WIDTH, CMD_TO_UPPER_CASE, WS_EX_APPWINDOW, WS_EX_TOOLWINDOW
from pellix import HISTORY, RECORDS, Pellix, write_list_file, write_unicode_list_file


def test_first_start_in_an_empty_folder(desktop: Desktop):
    app = Pellix.start(desktop)
    assert app.main["title"] == "ぺりくす T&K" and app.main["visible"]
    selector = app.selector()
    assert selector["items"] == [HISTORY, RECORDS, "unicode"]
    assert selector["selected"] == 0
    assert app.visible(app.listbox) and not app.visible(app.tnt)
    assert app.list_view()["count"] == 0

    # No task-bar button: the main window is owned by a hidden window that is exactly a tool
    # window, and asks for no button of its own.
    owner = next(w for w in app.process.windows() if w["hwnd"] == app.main["owner"])
    assert owner["exstyle"] == WS_EX_TOOLWINDOW and not owner["visible"]
    assert not app.main["exstyle"] & WS_EX_APPWINDOW
    # The other five windows are made when first needed, not at start.
    made = {w["class"] for w in app.process.windows()}
    assert not made & {"EditBox", "FilterListDialog", "FilterEditor", "MemoWindow", "AboutBox"}

    app.close()
    files = {path.name for path in desktop.app_dir.iterdir()}
    assert {f"{HISTORY}.dat", f"{RECORDS}.dat", f"{HISTORY}.flt", f"{RECORDS}.flt",
            "unicode.flt"} <= files
    assert "unicode.dat" not in files  # the Unicode list was empty
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == b""
    history_filter = (desktop.app_dir / f"{HISTORY}.flt").read_bytes().decode("cp932")
    assert history_filter.startswith(f"filname={HISTORY}\r\ntype=1\r\n")
    assert (desktop.app_dir / f"{RECORDS}.flt").read_bytes().decode("cp932").startswith(
        f"filname={RECORDS}\r\ntype=0\r\n")
    assert not [p for p in desktop.app_dir.iterdir() if p.name.endswith(".saving")]


def test_restart_shows_the_items_of_the_list_files(desktop: Desktop):
    history = ["最初の項目", "two\r\nlines", "ｶﾀｶﾅ and ＡＢＣ", "表示"]
    write_list_file(desktop.app_dir, HISTORY, history)
    write_list_file(desktop.app_dir, RECORDS, ["記録 one"])
    write_unicode_list_file(desktop.app_dir, ["emoji \U0001F600", "ü"])
    app = Pellix.start(desktop)

    view = app.list_view()
    assert [item["text"] for item in view["items"]] == history
    assert view["selected"] == [0] and view["focused"] == 0

    app.pick_list(2)
    wait_until(lambda: app.visible(app.tnt), 10, "the Unicode list to be shown")
    assert not app.visible(app.listbox)
    assert app.items("unicode") == ["emoji \U0001F600", "ü"]
    # The ANSI list under it is left as it was.
    assert app.items("ansi") == history

    app.pick_list(1)
    wait_until(lambda: app.visible(app.listbox), 10, "the ANSI list to be shown again")
    assert app.items() == ["記録 one"] and not app.visible(app.tnt)
    app.close()
    assert (desktop.app_dir / "unicode.dat").read_bytes().decode("utf-16") == \
        "emoji \U0001F600\r\nü\r\n"


def test_the_open_selector_switches_only_on_enter(desktop: Desktop):
    write_list_file(desktop.app_dir, RECORDS, ["in records"])
    app = Pellix.start(desktop)
    desktop.focus(app.hwnd)
    combo = next(c for c in desktop.tool("children", app.hwnd) if c["hwnd"] == app.combo)
    rect = combo["rect"]
    x = (rect["left"] + rect["right"]) // 2
    y = (rect["top"] + rect["bottom"]) // 2
    desktop.x.xdotool("mousemove", str(x), str(y), "click", "1")
    wait_until(lambda: app.selector()["dropped"], 10, "the selector's list to open")
    desktop.xdotool_keys("Down")
    wait_until(lambda: app.selector()["selected"] == 1, 10, "the highlight to move")
    assert app.items() == []  # moving through the open list switches nothing
    desktop.xdotool_keys("Return")
    wait_until(lambda: app.items() == ["in records"], 10, "Enter to switch to the highlighted list")
    assert not app.selector()["dropped"]
    app.close()


def test_a_second_start_ends_silently(desktop: Desktop):
    first = Pellix.start(desktop)
    second = desktop.start_pellix()
    assert procs.wait_gone(second.pid, 20), "the second instance is still running"
    assert second.reap() == 0
    mains = [w for w in desktop.tool("windows", "--class", "MainWindow")]
    assert [w["hwnd"] for w in mains] == [first.hwnd]
    first.close()


def test_close_and_the_end_of_the_session_both_write_the_lists(desktop: Desktop):
    # Written with bare LFs, which pellix writes back as CR LF: a changed file proves a save.
    (desktop.app_dir / f"{HISTORY}.dat").write_bytes(b"][)a\n][)b\n")
    app = Pellix.start(desktop)
    assert app.items() == ["a", "b"]
    app.close()
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == b"][)a\r\n][)b\r\n"

    (desktop.app_dir / f"{HISTORY}.dat").write_bytes(b"][)c\n")
    (desktop.app_dir / f"{RECORDS}.dat").unlink()
    app = Pellix.start(desktop)
    assert app.items() == ["c"]
    subprocess.run(["wineboot", "--end-session"], env=desktop.wine.env, timeout=60,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=False)
    wait_until(lambda: not app.process.running(), 30, "pellix to end with the session")
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == b"][)c\r\n"
    assert (desktop.app_dir / f"{RECORDS}.dat").read_bytes() == b""


def test_the_list_menu_converts_the_focused_item(desktop: Desktop):
    write_list_file(desktop.app_dir, HISTORY, ["keep", "Mixed Case", "ＡＢＣ１２３"])
    app = Pellix.start(desktop)
    desktop.tool("listview-select", app.listbox, 1)
    app.command(CMD_TO_UPPER_CASE)  # 小文字を大文字に
    wait_until(lambda: app.items()[1] == "MIXED CASE", 10, "the focused item in upper case")
    desktop.tool("listview-select", app.listbox, 2)
    app.command(CMD_FULL_TO_HALF_WIDTH)  # 全角英数字を半角に
    wait_until(lambda: app.items()[2] == "ABC123", 10, "the focused item in half width")
    view = app.list_view()
    assert view["focused"] == 2 and 2 in view["selected"]
    assert view["items"][0]["text"] == "keep"
    app.close()
    assert (desktop.app_dir / f"{HISTORY}.dat").read_bytes() == \
        b"][)keep\r\n][)MIXED CASE\r\n][)ABC123\r\n"


def test_big_lists_start_and_switch_quickly(desktop: Desktop):
    """100,000 items (about 10 MB) in one list: start-up and switching to it, timed."""
    items = [f"項目 {i} " + "abcdefghij" * (i % 17) + ("\r\n2行目" if i % 10 == 0 else "")
             for i in range(100_000)]
    write_list_file(desktop.app_dir, RECORDS, items)
    size = (desktop.app_dir / f"{RECORDS}.dat").stat().st_size
    timings = []
    for _ in range(3):
        started = time.monotonic()
        app = Pellix.start(desktop)
        shown = time.monotonic() - started
        started = time.monotonic()
        app.pick_list(1)
        view = app.list_view(count=1)
        switched = time.monotonic() - started
        assert view["count"] == 100_000 and view["items"][0]["text"] == items[0]
        last = desktop.tool("listview", app.listbox, "--start", 99_999, "--count", 1)
        assert last["items"][0]["text"] == items[-1]
        timings.append((shown, switched))
        app.close(timeout=30)
    shown = sorted(t[0] for t in timings)[1]
    switched = sorted(t[1] for t in timings)[1]
    print(f"\n[big list] {size} bytes, 100000 items: start to visible window median {shown:.2f} s, "
          f"switch and read back median {switched:.2f} s (three pxtool calls)")
