"""Files dropped on a window the way a Linux file manager drops them: the X drag-and-drop
protocol (XDND), which Wine turns into WM_DROPFILES for a window that accepts files."""

from __future__ import annotations

import time
from pathlib import Path

from Xlib import X, Xatom, display, protocol

from .waiting import WaitTimeout


def drop_files(display_name: str, target: int, root_x: int, root_y: int, paths: list[Path],
               timeout: float = 10.0) -> None:
    """Drags `paths` onto X window `target` at a root point and drops them there."""
    conn = display.Display(display_name)
    try:
        atom = conn.intern_atom
        screen = conn.screen()
        source = screen.root.create_window(0, 0, 1, 1, 0, screen.root_depth)
        uri_list = atom("text/uri-list")
        selection = atom("XdndSelection")
        source.set_selection_owner(selection, X.CurrentTime)
        data = "".join(Path(p).resolve().as_uri() + "\r\n" for p in paths).encode()
        target_window = conn.create_resource_object("window", target)

        def send(name: str, values: list[int]) -> None:
            event = protocol.event.ClientMessage(window=target_window, client_type=atom(name),
                                                 data=(32, values + [0] * (5 - len(values))))
            target_window.send_event(event)
            conn.flush()

        def wait_for(name: str):
            wanted = atom(name)
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                while conn.pending_events():
                    event = conn.next_event()
                    if event.type == X.SelectionRequest:
                        answer(event)
                    elif event.type == X.ClientMessage and event.client_type == wanted:
                        return event
                time.sleep(0.01)
            raise WaitTimeout(f"no {name} from window {target:#x}")

        def answer(request) -> None:
            if request.target == uri_list:
                request.requestor.change_property(request.property, uri_list, 8, data)
                prop = request.property
            else:
                prop = X.NONE
            notify = protocol.event.SelectionNotify(time=request.time, requestor=request.requestor,
                                                    selection=request.selection,
                                                    target=request.target, property=prop)
            request.requestor.send_event(notify)
            conn.flush()

        send("XdndEnter", [source.id, 5 << 24, uri_list])
        send("XdndPosition", [source.id, 0, (root_x << 16) | root_y, X.CurrentTime,
                              atom("XdndActionCopy")])
        status = wait_for("XdndStatus")
        if not status.data[1][1] & 1:
            raise AssertionError(f"window {target:#x} refused the files")
        send("XdndDrop", [source.id, 0, X.CurrentTime])
        wait_for("XdndFinished")
        source.destroy()
        conn.flush()
    finally:
        conn.close()
