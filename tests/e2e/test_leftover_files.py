"""What a save cut short leaves beside the program is cleared away at the next start."""

from __future__ import annotations

import os
import time

from harness import Desktop, wait_until
from files import base_lines, set_instance_tag, write_filter, write_ini
from pellix import HISTORY, RECORDS, Pellix, write_list_file

TAG = "0a1b2c3d"


def make_old(path) -> None:
    """Untouched for two minutes: nobody is at work on it any more."""
    then = time.time() - 120
    os.utime(path, (then, then))


def test_temporary_files_of_a_crashed_save_are_removed_at_start(desktop: Desktop):
    """pellix ended in the middle of a save, leaving half-written copies beside its real files,
    and a lock it held. At the next start they are gone, and the real files are read and left as
    they were. What another PC's pellix sharing the folder is writing right now stays, and so
    does an untagged copy (an earlier version's) that may still be written; one left for minutes
    goes."""
    set_instance_tag(desktop, TAG)
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines(left="333"))
    write_list_file(desktop.app_dir, HISTORY, ["kept", "also kept"])
    real = {name: (desktop.app_dir / name).read_bytes()
            for name in (f"{HISTORY}.dat", "pellix.ini")}
    leftovers = [desktop.app_dir / f"{name}.{TAG}.saving" for name in real]
    leftovers.append(desktop.app_dir / "pellix.ini.lock")
    for path in leftovers:
        path.write_bytes(b"][)half writ" if path.suffix == ".saving" else f"{TAG} 1\r\n".encode())
    old = desktop.app_dir / f"{RECORDS}.dat.saving"
    old.write_bytes(b"][)left for minutes")
    make_old(old)
    leftovers.append(old)
    others = [desktop.app_dir / f"{HISTORY}.dat.99aa88bb.saving",
              desktop.app_dir / f"{RECORDS}.dat.lock", desktop.app_dir / "unicode.dat.saving"]
    others[0].write_bytes(b"][)the other PC's")
    others[1].write_bytes(b"99aa88bb 2\r\n")
    others[2].write_bytes(b"an earlier version's, just now")
    app = Pellix.start(desktop)
    assert app.main["rect"]["left"] == 333
    assert app.items() == ["kept", "also kept"]
    wait_until(lambda: not any(path.exists() for path in leftovers), 10,
               "the half-written copies and the lock to be removed")
    assert all(path.exists() for path in others), [p.name for p in others if not p.exists()]
    assert {name: (desktop.app_dir / name).read_bytes() for name in real} == real
    others[1].unlink()  # the other PC's lock, let go: pellix must not wait for it at its close
    app.close()


def test_only_its_own_leftovers_are_touched_and_a_cut_rename_is_put_back(desktop: Desktop):
    """The folder may be Downloads: another program's file in the middle of its download keeps
    its ".saving" name. And a kill between the two moves of a rename that changes only the
    letter case of a list left its filter under the step name: the start finds it again instead
    of refusing to run without it."""
    for name, kind in (("Notes", "0"), (HISTORY, "1"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines(list0="notes", list1=HISTORY, list2="unicode"))
    write_list_file(desktop.app_dir, "Notes", ["a note"])
    (desktop.app_dir / "Notes.flt").rename(desktop.app_dir / "Notes.flt.renaming")
    make_old(desktop.app_dir / "Notes.flt.renaming")
    foreign = desktop.app_dir / "setup.exe.saving"
    foreign.write_bytes(b"someone else's download")
    app = Pellix.start(desktop)
    assert app.items() == ["a note"]
    assert (desktop.app_dir / "Notes.flt").is_file()
    assert not (desktop.app_dir / "Notes.flt.renaming").exists()
    assert foreign.read_bytes() == b"someone else's download"
    app.close()
