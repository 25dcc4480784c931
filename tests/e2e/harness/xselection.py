"""An X client that owns the clipboard the way a Linux program's copy does: it takes the CLIPBOARD
selection with a text and hands it out to whoever asks, until the next copy replaces it. Unlike
one xclip process per copy, it takes the selection without a process start, so a timing starts
at the moment the owner changed."""

from __future__ import annotations

import os
import queue
import select
import threading
import time

from Xlib import X, Xatom, display, protocol


class SelectionOwner:
    def __init__(self, display_name: str):
        self._conn = display.Display(display_name)
        screen = self._conn.screen()
        self._window = screen.root.create_window(0, 0, 1, 1, 0, screen.root_depth)
        atom = self._conn.intern_atom
        self._clipboard = atom("CLIPBOARD")
        self._targets = atom("TARGETS")
        self._utf8 = atom("UTF8_STRING")
        self._text_atom = atom("TEXT")
        self._conn.flush()
        self._text: bytes | None = None
        self._serial = -1
        self._commands: queue.Queue = queue.Queue()
        self._wake_read, self._wake_write = os.pipe()
        self._lock = threading.Lock()
        self.requested: set[int] = set()  # copies whose text somebody read
        self._stop = False
        self._thread = threading.Thread(target=self._run, daemon=True)
        self._thread.start()

    def __enter__(self) -> "SelectionOwner":
        return self

    def __exit__(self, *exc) -> None:
        self.close()

    def own(self, text: str, serial: int | None = None) -> int:
        """Takes the clipboard with `text`; returns the wall-clock time in microseconds just
        before the ownership was asked for. `serial` names the copy in `requested`."""
        done: queue.Queue = queue.Queue()
        self._commands.put((text.encode("utf-8"), serial, done))
        os.write(self._wake_write, b"x")
        return done.get(timeout=10)

    def close(self) -> None:
        self._stop = True
        os.write(self._wake_write, b"x")
        self._thread.join(timeout=10)
        os.close(self._wake_read)
        os.close(self._wake_write)
        self._conn.close()

    def _run(self) -> None:
        while not self._stop:
            readable, _, _ = select.select([self._conn.fileno(), self._wake_read], [], [], 0.5)
            if self._wake_read in readable:
                os.read(self._wake_read, 4096)
                while not self._commands.empty():
                    text, serial, done = self._commands.get()
                    started = time.time_ns() // 1000
                    self._text, self._serial = text, serial if serial is not None else -1
                    self._window.set_selection_owner(self._clipboard, X.CurrentTime)
                    self._conn.flush()
                    done.put(started)
            while self._conn.pending_events():
                event = self._conn.next_event()
                if event.type == X.SelectionRequest:
                    self._answer(event)

    def _answer(self, request) -> None:
        prop = request.property if request.property != X.NONE else request.target
        if request.target == self._targets:
            request.requestor.change_property(prop, Xatom.ATOM, 32,
                                              [self._targets, self._utf8, Xatom.STRING,
                                               self._text_atom])
        elif request.target in (self._utf8, Xatom.STRING, self._text_atom) and self._text:
            kind = self._utf8 if request.target != Xatom.STRING else Xatom.STRING
            request.requestor.change_property(prop, kind, 8, self._text)
            self.requested.add(self._serial)
        else:
            prop = X.NONE
        notify = protocol.event.SelectionNotify(time=request.time, requestor=request.requestor,
                                                selection=request.selection,
                                                target=request.target, property=prop)
        request.requestor.send_event(notify)
        self._conn.flush()
