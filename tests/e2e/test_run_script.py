"""scripts/run.sh as a user meets it: on a machine without a display it says that pellix runs on
an invisible screen and saves a picture of that screen; with a display pellix appears there, as
in the README's pictures, in a prefix that gets the tests' settings when it lacks them; and
Ctrl+C in the terminal ends pellix the way its 終了 does, so its settings and lists are written,
and the script says where they are.

The script is given the built programs (PELLIX_RUN_BUILT) so that it builds nothing, a private
PELLIX_HOME and a private copy of the template Wine prefix.
"""

from __future__ import annotations

import os
import re
import shutil
import signal
import struct
import subprocess
import zlib
from pathlib import Path

import pytest

from harness import marked_processes, procs, wait_until, wine
from harness.wine import wine_prefix
from harness.x11 import XServer
from pellix import HISTORY

REPO = Path(__file__).resolve().parents[2]


def built_programs(pellix: Path | None, folder: Path) -> Path:
    quit_tool = Path(os.environ.get("PELLIX_QUIT", pellix.parent / "pellix-quit.exe" if pellix else ""))
    if pellix is None or not pellix.exists() or not quit_tool.is_file():
        pytest.fail("pellix.exe and pellix-quit.exe must be built (PELLIX_EXE, PELLIX_QUIT)")
    folder.mkdir()
    shutil.copy2(pellix, folder / "pellix.exe")
    shutil.copy2(quit_tool, folder / "pellix-quit.exe")
    shutil.copy2(REPO / "src/win32/shell/res/pellixhelp.html", folder / "pellixhelp.html")
    return folder


def png_size_and_colours(path: Path) -> tuple[int, int, int]:
    """Width, height and the number of distinct colours of an 8-bit RGB PNG as xshot writes it."""
    data = path.read_bytes()
    assert data.startswith(b"\x89PNG\r\n\x1a\n")
    width, height, depth, kind = struct.unpack(">IIBB", data[16:26])
    assert (depth, kind) == (8, 2)
    chunks, at = [], 8
    while at < len(data):
        length, name = struct.unpack(">I4s", data[at:at + 8])
        if name == b"IDAT":
            chunks.append(data[at + 8:at + 8 + length])
        at += 12 + length
    raw = zlib.decompress(b"".join(chunks))
    stride = 1 + width * 3
    colours = {raw[y * stride + 1 + x * 3:y * stride + 4 + x * 3]
               for y in range(0, height, 4) for x in range(0, width, 4)}
    return width, height, len(colours)


class RunScript:
    def __init__(self, env: dict[str, str], log: Path):
        self.log = log
        self.popen = subprocess.Popen(["bash", str(REPO / "scripts/run.sh")], env=env,
                                      stdin=subprocess.DEVNULL, stdout=open(log, "wb"),
                                      stderr=subprocess.STDOUT, start_new_session=True)

    def output(self) -> str:
        return self.log.read_text(errors="replace")

    def ctrl_c(self) -> None:
        """What the terminal does: SIGINT to the foreground process group, the script's."""
        os.killpg(self.popen.pid, signal.SIGINT)

    def wait(self, timeout: float) -> int:
        try:
            return self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            os.killpg(self.popen.pid, signal.SIGKILL)
            self.popen.wait(10)
            raise AssertionError(f"run.sh did not end after Ctrl+C:\n{self.output()}")


@pytest.mark.parametrize("with_display", [False, True], ids=["no display", "a display"])
def test_run_script_shows_what_runs_and_ctrl_c_ends_pellix_as_exit_does(
        with_display: bool, e2e_paths, wine_template: Path, session_env: dict[str, str],
        x_server: XServer, tmp_path: Path):
    built = built_programs(e2e_paths.pellix, tmp_path / "built")
    prefix = tmp_path / "prefix"
    wine.copy_prefix(wine_template, prefix)
    if with_display:
        # A prefix as run.sh made it before it shared the tests' settings.
        user_reg = prefix / "user.reg"
        lines = user_reg.read_text(encoding="utf-8").splitlines(keepends=True)
        user_reg.write_text("".join(line for line in lines
                                    if '"Managed"' not in line and "IPA" not in line),
                            encoding="utf-8")
        for font in (prefix / "drive_c/windows/Fonts").iterdir():
            font.unlink()
        assert not wine_prefix.applied(prefix)
    home = tmp_path / "home"
    shot = tmp_path / "screen.png"
    env = {**session_env, "PELLIX_RUN_BUILT": str(built), "PELLIX_HOME": str(home),
           "WINEPREFIX": str(prefix), "PELLIX_SCREENSHOT": str(shot)}
    if not with_display:
        del env["DISPLAY"]
    script = RunScript(env, tmp_path / "run.log")
    try:
        if with_display:
            def pellix_window_shown() -> bool:
                found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "pellix.exe"],
                                       env=session_env, capture_output=True, timeout=10)
                return found.returncode == 0 and bool(found.stdout.strip())
            wait_until(pellix_window_shown, 90, "pellix's window on the display that was set")
            assert "Xvfb" not in script.output() and not shot.exists()
            # Unmanaged, as in the tests and pictures: Wine draws the title bar itself and no
            # window manager can take "always on top" away.
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "pellix.exe"],
                                   env=session_env, capture_output=True, timeout=10, text=True)
            for x_window in found.stdout.split():
                info = subprocess.run(["xwininfo", "-id", x_window], env=session_env,
                                      capture_output=True, timeout=10, text=True).stdout
                assert "Override Redirect State: yes" in info, info
        else:
            said = wait_until(lambda: re.search(r"What the invisible screen shows now: (\S+)",
                                                script.output()), 120,
                              "run.sh to save its screenshot")
            assert Path(said.group(1)) == shot
            out = script.output()
            assert "private Xvfb screen" in out and "nobody can see" in out
            width, height, colours = png_size_and_colours(shot)
            # The whole screen, with pellix's window drawn on the black of an empty Xvfb.
            assert (width, height) == (1280, 1024) and colours > 8
        wait_until(lambda: (home / "pellix.exe").exists(), 10, "pellix.exe in its folder")
        assert (home / "pellixhelp.html").read_bytes() == (built / "pellixhelp.html").read_bytes()
        assert not (home / "pellix.ini").exists()  # written at the end, not before

        script.ctrl_c()
        assert script.wait(120) == 0, script.output()
    finally:
        if script.popen.poll() is None:
            os.killpg(script.popen.pid, signal.SIGKILL)
            script.popen.wait(10)

    assert "Ending pellix as its 終了 does" in script.output()
    assert "stopping it" not in script.output(), script.output()
    assert f"pellix has ended. Its lists, filters and settings are in {home}" in script.output()
    settings = (home / "pellix.ini").read_bytes()
    assert b"fsmods=2\r\n" in settings
    assert (home / f"{HISTORY}.dat").exists()
    # Nothing of the run is left: the script's Xvfb, pellix, and (a few seconds later) Wine's
    # server and its own programs.
    xvfb = re.search(r"Xvfb screen \(:\d+, pid (\d+)\)", script.output())
    assert bool(xvfb) != with_display
    if xvfb:
        assert procs.wait_gone(int(xvfb.group(1)), 10), "run.sh's Xvfb outlived it"
    try:
        wait_until(lambda: not marked_processes("WINEPREFIX", str(prefix)), 20,
                   "the Wine processes of the run to end")
    finally:
        for pid in marked_processes("WINEPREFIX", str(prefix)):
            procs.kill(pid)
    assert wine_prefix.applied(prefix), "the prefix has the settings of the tests' prefixes"
