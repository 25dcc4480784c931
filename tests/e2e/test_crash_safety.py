"""The history survives a crash: pellix is killed (SIGKILL, no chance to save) at random moments
while texts are copied, items deleted and an option switched, again and again. After every kill
each list file, the Unicode list's and the settings are whole, and the lists hold every capture
that was in them longer than the background save takes.

The kills are dealt out to a few tests, each with a prefix and an app folder of its own, so that a
parallel run spreads them over its workers: the kills go at a few seconds each and would otherwise
leave every other test waiting for this one."""

from __future__ import annotations

import os
import random
import threading
import time

import pytest

from harness import Desktop, WaitTimeout, procs, wait_until
from harness.xselection import SelectionOwner
from ids import BM_CLICK, CMD_DELETE, ID_TABBOX, WM_COMMAND
from pellix import HISTORY, Pellix

ROUNDS = int(os.environ.get("PELLIX_CRASH_ROUNDS", "100"))
# Rounds of one batch follow each other in one app folder, whose lists grow from round to round.
BATCHES = 4
# A change is handed to the background writer 1.5 s after it was made, looked for every 0.5 s;
# the rest is room for the write itself on a loaded machine.
SAVE_DELAY = 3.0
SETTINGS_KEYS = ["left", "top", "height", "width", "fontsize", "fontcolor", "sendtab", "lock",
                 "memo", "trans", "option", "list0", "list1", "list2", "view", "fsmods", "hotkey"]


def read_list(desktop: Desktop, name: str) -> list[str]:
    """The items of a list file, which must be whole: every item opened by its marker and ended
    by CR LF, in code page 932."""
    path = desktop.app_dir / f"{name}.dat"
    if not path.exists():
        return []
    data = path.read_bytes()
    assert data == b"" or (data.startswith(b"][)") and data.endswith(b"\r\n")), data[-80:]
    return [item.decode("cp932") for item in data[3:-2].split(b"\r\n][)")] if data else []


def read_unicode_list(desktop: Desktop) -> list[str]:
    """The Unicode list's file, which must be whole: UTF-16 LE with its mark, every item ended
    by CR LF."""
    path = desktop.app_dir / "unicode.dat"
    if not path.exists():
        return []
    data = path.read_bytes()
    assert data.startswith(b"\xff\xfe") and len(data) % 2 == 0, data[:8]
    text = data[2:].decode("utf-16-le")
    assert text == "" or text.endswith("\r\n"), text[-40:]
    return text[:-2].split("\r\n") if text else []


def read_settings(desktop: Desktop) -> dict[str, str]:
    """pellix.ini, which must be whole: every key in its order, each line ended by CR LF."""
    data = (desktop.app_dir / "pellix.ini").read_bytes()
    assert data.endswith(b"\r\n"), data[-40:]
    lines = [line.split("=", 1) for line in data[:-2].decode("cp932").split("\r\n")]
    assert [key for key, _ in lines] == SETTINGS_KEYS, lines
    return dict(lines)


class Stream:
    """Copies from an X client, each waited for until pellix shows it, and now and then a delete
    of the oldest item: what the user does while pellix is killed."""

    def __init__(self, desktop: Desktop, owner: SelectionOwner):
        self.desktop = desktop
        self.owner = owner
        self.sent: dict[str, int] = {}  # every text copied: its place in the stream
        self.shown_at: dict[str, float] = {}  # a captured text: when it was seen in the list
        self.deleted: set[str] = set()
        self.killed = threading.Event()

    def run(self, app: Pellix, round_: int, rng: random.Random) -> None:
        killed = self.killed
        while not killed.is_set():
            try:
                chance = rng.random()
                if chance < 0.15:
                    self.delete_oldest(app)
                elif chance < 0.2:
                    # The tab box: a change of the settings, written with the next save.
                    self.desktop.tool("send", app.control(ID_TABBOX)["hwnd"], BM_CLICK, 0, 0)
                else:
                    self.copy(app, f"round {round_} copy {len(self.sent)} 履歴")
            except Exception:  # noqa: BLE001 - the kill may land in the middle of a step
                if killed.is_set():
                    return
                raise

    def copy(self, app: Pellix, text: str) -> None:
        self.sent[text] = len(self.sent)

        def shown() -> bool:
            if self.killed.is_set():
                raise AssertionError("killed")  # no need to wait for a dead program
            return app.items(count=1) == [text]
        # Now and then Wine never takes an X copy in (see clipboard.copy): copied again.
        for attempt in range(3):
            self.owner.own(text)
            try:
                wait_until(shown, 4, f"{text!r} to be captured", interval=0.01)
                break
            except WaitTimeout:
                if attempt == 2:
                    raise
        self.shown_at[text] = time.monotonic()

    def delete_oldest(self, app: Pellix) -> None:
        count = app.list_view(count=0)["count"]
        if count == 0:
            return
        last = self.desktop.tool("listview", app.listbox, "--start", count - 1, "--count", 1)
        text = last["items"][0]["text"]
        self.desktop.tool("listview-select", app.listbox, count - 1)
        self.deleted.add(text)  # from now on, it may or may not be in the file
        self.desktop.tool("send", app.hwnd, WM_COMMAND, CMD_DELETE, 0)


@pytest.mark.long
@pytest.mark.parametrize("batch", range(BATCHES), ids=lambda batch: f"batch{batch}")
def test_killed_at_random_moments_the_lists_stay_whole_and_keep_older_captures(desktop: Desktop,
                                                                                batch: int):
    rounds = range(batch * ROUNDS // BATCHES, (batch + 1) * ROUNDS // BATCHES)
    # A batch's seed replays it: PELLIX_CRASH_SEED=<seed> with -k batch<n>.
    seed = int(os.environ.get("PELLIX_CRASH_SEED", str(time.time_ns() % 1_000_000)))
    rng = random.Random(seed)
    with SelectionOwner(desktop.x.env["DISPLAY"]) as owner:
        stream = Stream(desktop, owner)
        must_keep: set[str] = set()  # captures that were saved before the kill of their round
        for round_ in rounds:
            shown_before = set(stream.shown_at)
            app = Pellix.start(desktop)
            killed = stream.killed = threading.Event()
            kill_after = rng.uniform(0.3, 4.5)
            killed_at: list[float] = []

            def kill() -> None:
                killed_at.append(time.monotonic())
                killed.set()
                procs.kill(app.process.pid)

            timer = threading.Timer(kill_after, kill)
            timer.start()
            try:
                stream.run(app, round_, rng)
            finally:
                timer.join()
            app.process.reap()
            wait_until(lambda: not desktop.tool("windows", "--class", "MainWindow"), 10,
                       "the killed pellix's windows to go")

            kept = read_list(desktop, HISTORY)
            assert set(kept) <= set(stream.sent), f"seed {seed}, round {round_}: unknown items"
            must_keep |= {text for text, at in stream.shown_at.items()
                          if text not in shown_before and at < killed_at[0] - SAVE_DELAY}
            lost = must_keep - stream.deleted - set(kept)
            assert not lost, (f"seed {seed}, round {round_}: captures older than {SAVE_DELAY} s "
                              f"lost by the kill: {sorted(lost)[:5]}")
            # Every capture goes into the Unicode list too, where nothing is deleted.
            wide = read_unicode_list(desktop)
            assert set(wide) <= set(stream.sent), f"seed {seed}, round {round_}: unknown items"
            lost = must_keep - set(wide)
            assert not lost, (f"seed {seed}, round {round_}: the Unicode list lost "
                              f"{sorted(lost)[:5]}")
            if (desktop.app_dir / "pellix.ini").exists():
                settings = read_settings(desktop)
                assert settings["sendtab"] in ("0", "1") and settings["list0"] == HISTORY
            # Newest first, as the list showed them. (A start captures the clipboard it finds, so
            # the last copy before a kill may come in twice.)
            places = [stream.sent[text] for text in kept]
            assert places == sorted(places, reverse=True), f"seed {seed}, round {round_}: order"
            # A kill leaves at most an unfinished temporary file, and the lock its save held
            # (both named for this installation), removed at the next start.
            assert not [p for p in desktop.app_dir.iterdir()
                        if p.suffix not in (".dat", ".flt", ".ini", ".exe", ".saving", ".lock")]

        # A normal exit still writes everything at once, however new.
        stream.killed = threading.Event()
        app = Pellix.start(desktop)
        stream.copy(app, "the last copy before the exit")
        app.close(timeout=30)
    kept = read_list(desktop, HISTORY)
    assert kept[0] == "the last copy before the exit"
    assert read_unicode_list(desktop)[0] == "the last copy before the exit"
    read_settings(desktop)
    assert must_keep - stream.deleted <= set(kept)
    assert not [p for p in desktop.app_dir.iterdir() if p.suffix in (".saving", ".lock")]
    print(f"\n[crash safety] batch {batch}: {len(rounds)} of {ROUNDS} kills (seed {seed}), "
          f"{len(stream.shown_at)} captures, {len(stream.deleted)} deletes, {len(kept)} items kept")


def test_the_copy_taken_at_start_is_saved_and_survives_a_kill(desktop: Desktop):
    """Joining the viewer chain at start captures what the clipboard holds: that capture is a
    change like any other, saved in the background, so a kill right after keeps it."""
    text = f"起動前のコピー {time.time_ns()}"
    desktop.tool("clipboard-set", text)
    app = Pellix.start(desktop)
    wait_until(lambda: app.items()[:1] == [text], 10, "the copy found at start to be shown")
    wait_until(lambda: read_list(desktop, HISTORY)[:1] == [text] and
               read_unicode_list(desktop)[:1] == [text], SAVE_DELAY + 10,
               "the copy found at start to be saved")
    procs.kill(app.process.pid)
    app.process.reap()
    assert read_list(desktop, HISTORY)[:1] == [text]
