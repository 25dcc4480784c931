"""Two PCs of one user run pellix from one folder, shared or kept in step by Syncthing, and see
one history: what is copied on one shows on the other, what is deleted on one goes on the other,
copies made on both at once are all kept once, a pellix killed on one PC costs the other nothing,
and the sync service's conflict copies are taken in and removed.

Each test runs against both setups of the `two_pcs` fixture (harness/two_pcs.py); the times a
change took to reach the other PC are printed (pytest -s or -rP shows them)."""

from __future__ import annotations

import threading
import time
from collections import Counter
from pathlib import Path

import pytest

from harness import Desktop, procs, wait_until
from harness.syncthing import conflict_copies
from harness.two_pcs import TwoPCs
from clipboard import copy
from gestures import keys
from ids import ID_SEARCH_FIELD, LVM_ENSUREVISIBLE
from pcs import (close_both, history_files, items, latency, start_both, wait_list,
                 wait_shown)
from pellix import HISTORY, Pellix, write_list_file

# The background save starts 1.5 s after a change; what was copied longer ago than this before a
# kill was saved, whatever the kill cut short.
SAVED_AFTER = 3.0
# A pellix killed in the middle of its save leaves its lock behind, which the other PC's pellix
# waits out before it takes the file over: a short lock, so a short wait.
STALE_LOCK = 30.0
CONFLICT_ROUNDS = 6


def copy_at(pc: Desktop, text: str, moment: float) -> None:
    """The copy made when the clock reaches `moment` (time.monotonic()): the user's pace, which
    the program has no part in."""
    wait_until(lambda: time.monotonic() >= moment, max(0.0, moment - time.monotonic()) + 5,
               f"the moment to copy {text!r}", interval=0.005)
    copy(pc, text)


def run_together(*steps) -> None:
    """Each step in a thread of its own, all started at once; the first failure is raised."""
    errors: list[BaseException] = []

    def run(step) -> None:
        try:
            step()
        except BaseException as error:  # noqa: BLE001 - raised below, in the test's thread
            errors.append(error)
    threads = [threading.Thread(target=run, args=(step,)) for step in steps]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(timeout=60)
    assert not any(thread.is_alive() for thread in threads), "a step did not end in 60 s"
    if errors:
        raise errors[0]


def wait_each_once(app: Pellix, texts: list[str], timeout: float, what: str,
                   optional: tuple[str, ...] = ()) -> list[str]:
    """Until the list holds every one of the texts exactly once and nothing else (an optional
    text at most once); returns the list."""
    seen: list[list[str]] = []

    def complete() -> bool:
        seen[:] = [items(app)]
        counts = Counter(seen[0])
        return all(counts[text] == 1 for text in texts) and \
            all(counts[text] <= 1 for text in optional) and \
            set(counts) <= set(texts) | set(optional)
    try:
        wait_until(complete, timeout, what, interval=0.2)
    except AssertionError as error:
        raise AssertionError(f"{error}; the list held {seen[0] if seen else None!r}") from None
    return seen[0]


def read_history(folder: Path) -> list[str] | None:
    """履歴.dat as it is now in that folder, while pellix may be writing it (None while it is not
    there)."""
    try:
        data = (folder / f"{HISTORY}.dat").read_bytes().decode("cp932")
    except FileNotFoundError:
        return None
    return [line[3:] for line in data.split("\r\n") if line.startswith("][)")]


def test_a_copy_on_each_pc_shows_on_the_other(two_pcs: TwoPCs):
    pc1, pc2 = two_pcs
    app1, app2 = start_both(two_pcs)
    limit = latency(two_pcs)

    started = time.monotonic()
    copy(pc1, "PC1 でコピー")
    wait_list(app1, ["PC1 でコピー"], 10, "the copy on PC1's own list")
    to_pc2 = wait_list(app2, ["PC1 でコピー"], limit, "PC1's copy on PC2's list", since=started)

    started = time.monotonic()
    copy(pc2, "PC2 でコピー")
    wait_list(app2, ["PC2 でコピー", "PC1 でコピー"], 10, "the copy on PC2's own list")
    to_pc1 = wait_list(app1, ["PC2 でコピー", "PC1 でコピー"], limit,
                       "PC2's copy on top of PC1's list", since=started)
    print(f"\n{two_pcs.setup}: from the copy to the other PC's list, PC1 to PC2 {to_pc2:.1f} s, "
          f"PC2 to PC1 {to_pc1:.1f} s")

    close_both(two_pcs, (app1, app2))
    expected = ["PC2 でコピー", "PC1 でコピー"]
    assert history_files(two_pcs) == [expected] * len(two_pcs.folders)


def test_a_delete_on_one_pc_is_not_undone_by_the_other(two_pcs: TwoPCs):
    """Del on PC1 removes the item from PC2's list too; copies on both afterwards, each saving its
    list, do not bring it back, and it is not in the file after both closed."""
    pc1, pc2 = two_pcs
    app1, app2 = start_both(two_pcs)
    limit = latency(two_pcs)
    copy(pc1, "消す項目")
    wait_list(app2, ["消す項目"], limit, "PC1's copy on PC2's list")
    copy(pc2, "残る項目")
    wait_list(app1, ["残る項目", "消す項目"], limit, "PC2's copy on PC1's list")

    pc1.tool("listview-select", app1.listbox, 1)
    keys(pc1, app1, "delete")
    wait_list(app1, ["残る項目"], 10, "Del to delete the item on PC1")
    took = wait_list(app2, ["残る項目"], limit, "PC1's delete on PC2's list")
    print(f"\n{two_pcs.setup}: PC1's delete reached PC2's list after {took:.1f} s")

    copy(pc2, "PC2 の次")
    wait_list(app2, ["PC2 の次", "残る項目"], 10, "PC2's next copy on its own list")
    wait_list(app1, ["PC2 の次", "残る項目"], limit, "PC2's next copy on PC1's list")
    copy(pc1, "PC1 の次")
    expected = ["PC1 の次", "PC2 の次", "残る項目"]
    wait_list(app1, expected, 10, "PC1's next copy on its own list")
    wait_list(app2, expected, limit, "PC1's next copy on PC2's list, without the deleted item")

    close_both(two_pcs, (app1, app2))
    assert history_files(two_pcs) == [expected] * len(two_pcs.folders)


@pytest.mark.parametrize("two_pcs", ["shared"], indirect=True)
def test_the_other_pcs_changes_leave_the_users_place_in_the_list(two_pcs: TwoPCs):
    """PC2's copy and delete come into the list PC1 shows without moving the user's place there:
    the same item stays selected and current, a list scrolled down keeps the same item topmost,
    and an open search keeps its words and shows the new item that matches, on top."""
    pc1, pc2 = two_pcs
    texts = [f"項目 {n:02}" + (" 会議" if n % 10 == 3 else "") for n in range(40)]
    write_list_file(two_pcs.folders[0], HISTORY, texts)
    app1, app2 = start_both(two_pcs)
    limit = latency(two_pcs)

    pc1.tool("listview-select", app1.listbox, 25)
    pc1.tool("send", app1.listbox, LVM_ENSUREVISIBLE, 39, 0)
    top = wait_until(lambda: app1.list_view(count=0)["top"], 10, "PC1's list scrolled down")
    copy(pc2, "PC2 の項目")
    wait_list(app1, ["PC2 の項目"] + texts[:49], limit, "PC2's copy on top of PC1's list")
    view = app1.list_view(count=0)
    assert (view["selected"], view["focused"], view["top"]) == ([26], 26, top + 1), view

    pc2.tool("listview-select", app2.listbox, 5)  # 項目 04, above PC1's selection
    keys(pc2, app2, "delete")
    rest = ["PC2 の項目"] + texts[:4] + texts[5:]
    wait_list(app1, rest[:50], limit, "PC2's delete on PC1's list")
    view = app1.list_view(count=0)
    assert (view["selected"], view["focused"], view["top"]) == ([25], 25, top), view

    keys(pc1, app1, "ctrl+f")
    field = next(c for c in pc1.tool("children", app1.hwnd) if c["id"] == ID_SEARCH_FIELD)
    wait_until(lambda: pc1.text(field["hwnd"]) == "" and
               next(c for c in pc1.tool("children", app1.hwnd)
                    if c["id"] == ID_SEARCH_FIELD)["visible"], 10, "PC1's search field")
    pc1.focus(app1.hwnd)
    pc1.tool("type", "会議")
    meetings = [text for text in texts if "会議" in text]
    wait_list(app1, meetings, 10, "PC1's search for 会議")
    copy(pc2, "新しい会議")
    copy(pc2, "関係ない項目")
    wait_until(lambda: app2.items(count=2) == ["関係ない項目", "新しい会議"], 10,
               "PC2's two copies on its own list")
    wait_list(app1, ["新しい会議"] + meetings, limit, "PC2's matching copy in PC1's results")
    assert pc1.text(field["hwnd"]) == "会議"
    close_both(two_pcs, (app1, app2))


@pytest.mark.long
def test_copies_interleaved_on_both_pcs_are_all_kept_once(two_pcs: TwoPCs):
    """Eight copies on each PC, half a second apart in turn (PC1, PC2, PC1, ...): both lists and
    the file after both closed hold all sixteen, each once; each PC's own copies keep their order
    on its own list (newest first)."""
    pc1, pc2 = two_pcs
    app1, app2 = start_both(two_pcs)
    own = {pc1: [f"PC1 のコピー {n}" for n in range(1, 9)],
           pc2: [f"PC2 のコピー {n}" for n in range(1, 9)]}
    everything = own[pc1] + own[pc2]
    begin = time.monotonic() + 0.5
    # Each PC's copies in a thread of its own, so that one PC's slow copy does not hold up the
    # other's turn.
    run_together(*[lambda pc=pc, first=first: [copy_at(pc, text, begin + first + step)
                                               for step, text in enumerate(own[pc])]
                   for pc, first in ((pc1, 0.0), (pc2, 0.5))])
    paced = time.monotonic() - begin

    started = time.monotonic()
    for pc, app, name in ((pc1, app1, "PC1"), (pc2, app2, "PC2")):
        shown = wait_each_once(app, everything, latency(two_pcs) + 10,
                               f"all sixteen copies on {name}'s list, each once")
        assert [text for text in shown if text in own[pc]] == own[pc][::-1], shown
    print(f"\n{two_pcs.setup}: 16 copies made in {paced:.1f} s; all on both lists "
          f"{time.monotonic() - started:.1f} s after the last")

    close_both(two_pcs, (app1, app2))
    for held in history_files(two_pcs):
        assert sorted(held) == sorted(everything)


@pytest.mark.long
def test_a_pellix_killed_on_one_pc_loses_nothing(two_pcs: TwoPCs):
    """PC1's pellix is killed (SIGKILL) as it starts to save its latest copy. PC2's pellix keeps
    all it had, on its list and in its file, and goes on saving; PC1's pellix started again shows
    everything: PC2's copies and its own saved ones. Only the copy whose save the kill cut short
    may be missing, and nothing is there twice."""
    pc1, pc2 = two_pcs
    app1, app2 = start_both(two_pcs)
    limit = latency(two_pcs)
    saved = []
    for number in (1, 2):
        for pc, other, name in ((pc1, app2, "PC1"), (pc2, app1, "PC2")):
            text = f"{name} の{number}"
            copy(pc, text)
            wait_shown(other, text, limit, f"{text} on the other PC's list")
            saved.append(text)

    folder = pc1.app_dir
    in_flight = [folder / f"{HISTORY}.dat.lock", folder / f"{HISTORY}.dat.saving"]
    copy(pc1, "PC1 の最後")
    copied_at = time.monotonic()
    wait_shown(app1, "PC1 の最後", 10, "PC1's last copy on its own list")
    seen = wait_until(lambda: [p.name for p in in_flight if p.exists()]
                      or ("PC1 の最後" in (read_history(folder) or []) and ["履歴.dat"]),
                      10, "PC1's save of its last copy to begin", interval=0.002)
    procs.kill(app1.process.pid)
    print(f"\n{two_pcs.setup}: PC1 killed {time.monotonic() - copied_at:.2f} s after its last "
          f"copy, as it saved it (seen: {seen})")

    copy(pc2, "PC2 の後")
    survivor = saved + ["PC2 の後"]
    wait_each_once(app2, survivor, 10, "PC2's list to keep everything",
                   optional=("PC1 の最後",))
    waited = time.monotonic()
    wait_until(lambda: all(text in (read_history(pc2.app_dir) or []) for text in survivor),
               STALE_LOCK, "PC2 to save its copy made after PC1's kill", interval=0.2)
    print(f"{two_pcs.setup}: PC2's save after the kill took {time.monotonic() - waited:.1f} s")
    wait_each_once(app2, survivor, 1, "PC2's list after its save", optional=("PC1 の最後",))

    app1 = Pellix.start(pc1)
    wait_each_once(app1, survivor, limit, "PC1's list after its restart",
                   optional=("PC1 の最後",))
    close_both(two_pcs, (app1, app2))
    for held in history_files(two_pcs):
        counts = Counter(held)
        assert all(counts[text] == 1 for text in survivor) and counts["PC1 の最後"] <= 1 \
            and set(counts) <= set(survivor) | {"PC1 の最後"}, held


class ConflictWatch:
    """Every conflict copy that shows up in the folders, even for a moment: pellix takes them in
    and removes them, so they are looked for every 10 ms from a thread of its own."""

    def __init__(self, folders: list[Path]):
        self.folders = folders
        self.seen: set[str] = set()
        self._stop = threading.Event()
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def _run(self) -> None:
        while not self._stop.wait(0.01):
            for folder in self.folders:
                self.seen.update(conflict_copies(folder))

    def stop(self) -> None:
        self._stop.set()
        self._thread.join(timeout=5)


@pytest.mark.long
@pytest.mark.parametrize("two_pcs", ["syncthing"], indirect=True)
def test_syncthing_conflict_copies_are_taken_in_and_removed(two_pcs: TwoPCs):
    """Both PCs copy a different text in the same moment, so that both save 履歴 before the
    other's save arrives and Syncthing keeps one of the two as a conflict copy (a round that
    happened not to conflict is made again). Then both lists hold every text copied, each once,
    and no conflict copy is left in either folder."""
    pc1, pc2 = two_pcs
    app1, app2 = start_both(two_pcs)
    limit = latency(two_pcs)
    watch = ConflictWatch(two_pcs.folders)
    copied: list[str] = []
    try:
        for round_ in range(1, CONFLICT_ROUNDS + 1):
            texts = (f"PC1 の同時コピー {round_}", f"PC2 の同時コピー {round_}")
            run_together(lambda: copy(pc1, texts[0]), lambda: copy(pc2, texts[1]))
            copied += texts
            wait_until(lambda: watch.seen or all(text in items(app) for app in (app1, app2)
                                                 for text in texts),
                       limit, f"round {round_}: a conflict copy, or both texts on both lists")
            if watch.seen:
                break
            two_pcs.wait_in_step()
        print(f"\nconflict copies after {round_} round(s): {sorted(watch.seen)}")
        assert watch.seen, f"Syncthing made no conflict copy in {CONFLICT_ROUNDS} rounds"

        started = time.monotonic()
        for app in (app1, app2):
            wait_each_once(app, copied, 60, "every text copied on both lists, each once")
        wait_until(lambda: not two_pcs.conflict_copies(), 60,
                   "the conflict copies removed from both folders")
        print(f"lists complete and conflict copies gone {time.monotonic() - started:.1f} s "
              "after the conflict was seen")
    finally:
        watch.stop()
    close_both(two_pcs, (app1, app2))
    for held in history_files(two_pcs):
        assert sorted(held) == sorted(copied)
