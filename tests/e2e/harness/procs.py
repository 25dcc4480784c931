"""Unix processes: start them marked as ours, tell when they are gone, stop them by pid.

Every process the harness starts carries PELLIX_E2E_SESSION in its environment, and so does
everything those start in turn (Wine's server and services inherit it). That makes "nothing of ours
is left" a question /proc can answer exactly.
"""

from __future__ import annotations

import os
import signal
import subprocess
import time
from pathlib import Path

from .waiting import wait_until

SESSION_MARKER = "PELLIX_E2E_SESSION"


def process_state(pid: int) -> str | None:
    """The state letter from /proc/<pid>/stat, or None when there is no such process."""
    try:
        stat = Path(f"/proc/{pid}/stat").read_text()
    except (FileNotFoundError, ProcessLookupError):
        return None
    # The command name is in parentheses and may hold spaces or parentheses itself.
    return stat[stat.rindex(")") + 2]


def is_gone(pid: int) -> bool:
    """True when the process has exited. A zombie has exited: it only waits to be reaped."""
    return process_state(pid) in (None, "Z", "X")


def wait_gone(pid: int, timeout: float) -> bool:
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if is_gone(pid):
            return True
        time.sleep(0.02)
    return is_gone(pid)


def kill(pid: int, timeout: float = 5.0) -> None:
    """SIGKILL one process by its pid and wait until it is gone."""
    if is_gone(pid):
        return
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        return
    wait_until(lambda: is_gone(pid), timeout, f"process {pid} to die after SIGKILL")


def environ_of(pid: int) -> dict[str, str]:
    try:
        raw = Path(f"/proc/{pid}/environ").read_bytes()
    except OSError:
        return {}
    env = {}
    for entry in raw.split(b"\0"):
        key, sep, value = entry.partition(b"=")
        if sep:
            env[key.decode(errors="replace")] = value.decode(errors="replace")
    return env


def marked_processes(key: str, value: str) -> list[int]:
    """Live (non-zombie) processes whose environment has key=value."""
    needle = f"{key}={value}".encode()
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        pid = int(entry)
        try:
            raw = Path(f"/proc/{pid}/environ").read_bytes()
        except OSError:
            continue
        if needle in raw.split(b"\0") and not is_gone(pid):
            found.append(pid)
    return found


def describe(pid: int) -> str:
    try:
        cmdline = Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace")
    except OSError:
        cmdline = "?"
    return f"{pid} [{process_state(pid)}] {cmdline.strip()}"


class Process:
    """A child process started by the harness, stopped by its pid and reaped."""

    def __init__(self, popen: subprocess.Popen, name: str, log: Path | None = None):
        self.popen = popen
        self.pid = popen.pid
        self.name = name
        self.log = log

    def running(self) -> bool:
        return not is_gone(self.pid)

    def reap(self) -> int | None:
        """Collect the exit status once the process is gone (it is our child)."""
        if self.running():
            return None
        try:
            return self.popen.wait(timeout=5)
        except subprocess.TimeoutExpired:
            return None

    def terminate(self, timeout: float = 5.0) -> None:
        """SIGTERM, then SIGKILL if it does not go in time."""
        if self.running():
            try:
                os.kill(self.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            if not wait_gone(self.pid, timeout):
                kill(self.pid)
        self.reap()

    def __repr__(self) -> str:
        return f"<{self.name} pid={self.pid}>"


def start(args: list[str], env: dict[str, str], log: Path, name: str | None = None,
          cwd: str | Path | None = None, pass_fds: tuple[int, ...] = ()) -> Process:
    """Start a background process with no inherited terminal or pipes.

    Its output goes to a log file, never to a pipe of ours: Wine's server and services inherit the
    descriptors of the process that starts them and outlive it, and a reader waiting for the end of
    a pipe would wait for them too.
    """
    log.parent.mkdir(parents=True, exist_ok=True)
    with open(log, "ab") as out:
        popen = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                                 stderr=subprocess.STDOUT, start_new_session=True,
                                 pass_fds=pass_fds)
    return Process(popen, name or Path(args[0]).name, log)
