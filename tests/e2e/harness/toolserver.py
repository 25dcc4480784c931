"""pxtool serve: one Windows process per test that runs pxtool's commands one after another.

A Windows process start under Wine costs tens of milliseconds or more, a command a millisecond or
two, and a test makes dozens of pxtool calls. The server reads one JSON array of strings a line and
answers one JSON object a line: {"ok": true, "result": ...} or {"ok": false, "code": N,
"error": "..."}.

Its stdin and stdout are pipes, which procs.start avoids for good reason: Wine's server and services
inherit the descriptors of the process that starts them and outlive it. So the server is only ever
started once those are up (the session starts them with a one-shot call first), nothing here ever
waits for the end of a pipe, every read has a deadline, and the server is stopped by its pid.
"""

from __future__ import annotations

import fcntl
import json
import os
import select
import subprocess
import threading
import time
from pathlib import Path
from typing import Any, Callable

from . import procs


class ServerGone(RuntimeError):
    """The server ended before it answered."""


class ToolServer:
    """A pxtool serve process, started on the first call and again after one was lost."""

    def __init__(self, command: list[str], env: dict[str, str], log: Path,
                 before_start: Callable[[], None] = lambda: None):
        self.command = command
        self.env = env
        self.log = log
        # Run before every start: makes sure that what Wine starts on demand is started by then.
        self.before_start = before_start
        self.process: procs.Process | None = None
        self.starts = 0
        self._buffer = b""
        self._lock = threading.Lock()

    @property
    def pid(self) -> int | None:
        return self.process.pid if self.process and self.process.running() else None

    def call(self, args: list[str], timeout: float) -> dict[str, Any]:
        """The server's answer to one command line. A command that does not answer in time is
        a hung call: the server is killed (a new one starts with the next call) and
        subprocess.TimeoutExpired raised, as for a one-shot pxtool."""
        if not self._lock.acquire(timeout=timeout):
            raise subprocess.TimeoutExpired(["pxtool", *args], timeout)
        try:
            if self.process is None or not self.process.running():
                self._start()
            # The call's own time: a start on its behalf (bounded itself) does not count.
            deadline = time.monotonic() + timeout
            request = (json.dumps(args) + "\n").encode("ascii")
            try:
                self._write(request, deadline)
                line = self._read_line(deadline)
            except subprocess.TimeoutExpired:
                self._kill()
                raise subprocess.TimeoutExpired(["pxtool", *args], timeout) from None
            except (ServerGone, OSError) as error:
                code = self.process.popen.poll() if self.process else None
                self._kill()
                raise ServerGone(f"pxtool serve ended during {args} ({error}; exit code {code}; "
                                 f"log: {self.log})") from None
            return json.loads(line)
        finally:
            self._lock.release()

    def stop(self, timeout: float = 5.0) -> None:
        """The end of its input ends it; if it does not go in time, it is killed by its pid."""
        with self._lock:
            process = self.process
            if process is None:
                return
            try:
                process.popen.stdin.close()
            except OSError:
                pass
            if not procs.wait_gone(process.pid, timeout):
                procs.kill(process.pid)
            self._forget()

    def _start(self) -> None:
        self._forget()
        self.before_start()
        self.log.parent.mkdir(parents=True, exist_ok=True)
        with open(self.log, "ab") as err:
            popen = subprocess.Popen(self.command, env=self.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=err, start_new_session=True)
        for pipe in (popen.stdin, popen.stdout):
            flags = fcntl.fcntl(pipe.fileno(), fcntl.F_GETFL)
            fcntl.fcntl(pipe.fileno(), fcntl.F_SETFL, flags | os.O_NONBLOCK)
        self.process = procs.Process(popen, "pxtool-serve", self.log)
        self.starts += 1

    def _kill(self) -> None:
        if self.process is not None:
            procs.kill(self.process.pid)
        self._forget()

    def _forget(self) -> None:
        """Reap a server that is gone and drop our ends of its pipes (never waiting on them)."""
        process, self.process = self.process, None
        self._buffer = b""
        if process is None:
            return
        for pipe in (process.popen.stdin, process.popen.stdout):
            try:
                pipe.close()
            except OSError:
                pass
        process.reap()

    def _write(self, data: bytes, deadline: float) -> None:
        fd = self.process.popen.stdin.fileno()
        while data:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise subprocess.TimeoutExpired("pxtool serve", 0)
            _, ready, _ = select.select([], [fd], [], remaining)
            if ready:
                try:
                    data = data[os.write(fd, data):]
                except BlockingIOError:
                    continue
                except BrokenPipeError as error:
                    raise ServerGone("its input is closed") from error

    def _read_line(self, deadline: float) -> bytes:
        fd = self.process.popen.stdout.fileno()
        while b"\n" not in self._buffer:
            remaining = deadline - time.monotonic()
            if remaining <= 0:
                raise subprocess.TimeoutExpired("pxtool serve", 0)
            # A Wine process started on the server's behalf may hold its output open after it
            # died, so the end of the pipe is no sign: whether it still runs is looked at too.
            running = self.process.running()
            ready, _, _ = select.select([fd], [], [], min(remaining, 0.5))
            if not ready:
                if not running:
                    raise ServerGone("it died")
                continue
            try:
                chunk = os.read(fd, 1 << 20)
            except BlockingIOError:
                continue
            if not chunk:
                raise ServerGone("its output ended")
            self._buffer += chunk
        line, _, self._buffer = self._buffer.partition(b"\n")
        return line
