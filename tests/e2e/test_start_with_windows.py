"""The tray menu's 「Windows の起動時に開始」: a shortcut to this pellix.exe in the user's Startup
folder, made by checking the item and removed by unchecking it; a shortcut that starts another
copy of pellix is the user's, left alone, and the user is told."""

from __future__ import annotations

from pathlib import Path

from harness import Desktop, wait_until
from harness.wine import windows_path
from boxes import close_box, message_box
from ids import CMD_START_WITH_WINDOWS, WM_COMMAND
from pellix import Pellix


def startup_folder(desktop: Desktop) -> Path:
    """The user's Startup folder in the test's prefix (there is one user besides Public). Wine
    spells it StartUp; Windows' names ignore case, the Unix side's do not."""
    users = [u for u in (desktop.wine.drive_c / "users").iterdir()
             if u.is_dir() and not u.is_symlink() and u.name != "Public"]
    assert len(users) == 1, users
    programs = users[0] / "AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
    found = [d for d in programs.iterdir() if d.name.lower() == "startup"] \
        if programs.is_dir() else []
    return found[0] if found else programs / "StartUp"


def target(desktop: Desktop, link: Path) -> str:
    return desktop.tool("shortcut", windows_path(link))["target"]


def toggle(desktop: Desktop, app: Pellix) -> None:
    """What clicking the item does; posted, since a message box may answer it."""
    desktop.tool("post", app.hwnd, WM_COMMAND, CMD_START_WITH_WINDOWS, 0)


def test_checking_makes_a_shortcut_to_this_exe_and_unchecking_removes_it(desktop: Desktop):
    app = Pellix.start(desktop)
    link = startup_folder(desktop) / "pellix.lnk"
    assert not link.exists()
    toggle(desktop, app)
    wait_until(link.exists, 10, "the shortcut in the Startup folder")
    assert target(desktop, link).lower() == windows_path(desktop.app_dir / "pellix.exe").lower()

    toggle(desktop, app)
    wait_until(lambda: not link.exists(), 10, "the shortcut to go")
    app.close()


def test_a_shortcut_to_another_copy_is_left_alone_and_the_user_is_told(desktop: Desktop):
    other = desktop.app_dir.parent / "other" / "pellix.exe"
    other.parent.mkdir()
    other.write_bytes(desktop.pellix_exe.read_bytes())
    folder = startup_folder(desktop)
    folder.mkdir(parents=True, exist_ok=True)
    link = folder / "pellix.lnk"
    desktop.tool("shortcut", windows_path(link), "--make", windows_path(other))
    before = link.read_bytes()

    app = Pellix.start(desktop)
    for _ in range(2):  # neither "check" nor a second try takes it over
        toggle(desktop, app)
        box, texts = message_box(desktop, app)
        said = "\n".join(texts)
        assert "別の pellix" in said and windows_path(other).lower() in said.lower(), said
        close_box(desktop, app, box)
    assert link.read_bytes() == before
    assert target(desktop, link).lower() == windows_path(other).lower()
    app.close()
