"""What a save cut short leaves beside the program is cleared away at the next start."""

from __future__ import annotations

from harness import Desktop, wait_until
from pellix import HISTORY, RECORDS, Pellix, write_list_file
from test_capture import write_filter
from test_settings import base_lines, write_ini


def test_temporary_files_of_a_crashed_save_are_removed_at_start(desktop: Desktop):
    """pellix ended in the middle of a save, leaving half-written copies beside its real files.
    At the next start the copies are gone, and the real files are read and left as they were."""
    for name, kind in ((HISTORY, "1"), (RECORDS, "0"), ("unicode", "0")):
        write_filter(desktop.app_dir, name, type=kind)
    write_ini(desktop, base_lines(left="333"))
    write_list_file(desktop.app_dir, HISTORY, ["kept", "also kept"])
    real = {name: (desktop.app_dir / name).read_bytes()
            for name in (f"{HISTORY}.dat", "pellix.ini")}
    leftovers = [desktop.app_dir / f"{name}.saving" for name in real]
    for path in leftovers:
        path.write_bytes(b"][)half writ")
    app = Pellix.start(desktop)
    assert app.main["rect"]["left"] == 333
    assert app.items() == ["kept", "also kept"]
    wait_until(lambda: not any(path.exists() for path in leftovers), 10,
               "the half-written copies to be removed")
    assert {name: (desktop.app_dir / name).read_bytes() for name in real} == real
    app.close()
