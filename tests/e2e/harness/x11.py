"""The X side: a private Xvfb, xdotool for keys and focus, xclip for the clipboard of X programs."""

from __future__ import annotations

import os
import select
import subprocess
import time
from pathlib import Path

from . import procs
from .waiting import wait_until


class XServer:
    """An Xvfb on a display number that Xvfb picks itself (-displayfd), so runs never collide."""

    def __init__(self, env: dict[str, str], log_dir: Path, timeout: float = 20.0):
        read_end, write_end = os.pipe()
        try:
            self.process = procs.start(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                 "-nolisten", "tcp", "-noreset"],
                env, log_dir / "xvfb.log", name="Xvfb", pass_fds=(write_end,))
        finally:
            os.close(write_end)
        try:
            number = self._read_display(read_end, timeout)
        except BaseException:
            self.process.terminate()
            raise
        finally:
            os.close(read_end)
        self.display = f":{number}"

    def _read_display(self, fd: int, timeout: float) -> int:
        deadline = time.monotonic() + timeout
        data = b""
        while not data.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not self.process.running():
                raise RuntimeError(f"Xvfb did not report a display (log: {self.process.log})")
            ready, _, _ = select.select([fd], [], [], remaining)
            if ready:
                chunk = os.read(fd, 64)
                if not chunk:
                    raise RuntimeError(f"Xvfb closed -displayfd (log: {self.process.log})")
                data += chunk
        return int(data.strip())

    def stop(self) -> None:
        self.process.terminate()


class XTools:
    """xdotool and xclip on one display. Every call has a timeout; xclip owners are tracked."""

    def __init__(self, env: dict[str, str], log_dir: Path):
        self.env = env
        self.log_dir = log_dir
        self._owners: list[procs.Process] = []
        self._count = 0

    def run(self, args: list[str], timeout: float = 10.0, input: bytes | None = None) -> bytes:
        result = subprocess.run(args, env=self.env, input=input, capture_output=True,
                                timeout=timeout, stdin=None if input is not None else subprocess.DEVNULL)
        if result.returncode != 0:
            raise RuntimeError(f"{' '.join(args)} failed ({result.returncode}): "
                               f"{result.stderr.decode(errors='replace').strip()}")
        return result.stdout

    def xdotool(self, *args: str, timeout: float = 10.0) -> str:
        return self.run(["xdotool", *args], timeout=timeout).decode(errors="replace")

    def focus_x_window(self, x_window: int, timeout: float = 5.0) -> None:
        self.xdotool("windowfocus", "--sync", str(x_window), timeout=timeout)

    def type(self, text: str, delay_ms: int = 12) -> None:
        """Types through the X keyboard, as a user would; ASCII is what X keymaps carry reliably."""
        self.xdotool("type", "--delay", str(delay_ms), "--", text,
                     timeout=10.0 + len(text) * delay_ms / 1000 * 3)

    def keys(self, *chords: str, delay_ms: int = 30) -> None:
        """Key chords in xdotool's names: "ctrl+v", "Return", "Tab", "shift+Tab"."""
        self.xdotool("key", "--delay", str(delay_ms), "--", *chords)

    def clipboard_set(self, text: str | bytes, target: str = "UTF8_STRING",
                      timeout: float = 5.0) -> procs.Process:
        """Make an X client own the CLIPBOARD selection with exactly these bytes.

        xclip runs in the foreground (-quiet) so that its pid is ours: it serves the selection until
        another client takes it, and then exits by itself; whatever is still serving is stopped
        here before the next copy and at teardown.
        """
        data = text.encode() if isinstance(text, str) else text
        self.release_clipboard()
        self._count += 1
        source = self.log_dir / f"xclip-{self._count}.data"
        source.write_bytes(data)
        owner = procs.start(["xclip", "-selection", "clipboard", "-t", target, "-quiet", str(source)],
                            self.env, self.log_dir / "xclip.log", name="xclip")
        self._owners.append(owner)
        wait_until(lambda: self.clipboard_get(target) == data, timeout,
                   f"xclip to own the X clipboard with {data[:40]!r}")
        return owner

    def clipboard_get(self, target: str = "UTF8_STRING") -> bytes | None:
        result = subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                                env=self.env, capture_output=True, timeout=5,
                                stdin=subprocess.DEVNULL)
        return result.stdout if result.returncode == 0 else None

    def release_clipboard(self) -> None:
        for owner in self._owners:
            owner.terminate(timeout=2)
        self._owners.clear()

    def close(self) -> None:
        self.release_clipboard()
