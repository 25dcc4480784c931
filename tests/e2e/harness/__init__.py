"""End-to-end harness: Windows programs under Wine on a private Xvfb, driven like a user."""

from .desktop import Desktop
from .procs import Process, is_gone, marked_processes, process_state, wait_gone
from .waiting import WaitTimeout, wait_until
from .wine import StopResult, ToolError, WineSession, WinProcess, windows_path
from .x11 import XServer, XTools

__all__ = [
    "Desktop", "Process", "StopResult", "ToolError", "WaitTimeout", "WinProcess", "WineSession",
    "XServer", "XTools", "is_gone", "marked_processes", "process_state", "wait_gone", "wait_until",
    "windows_path",
]
