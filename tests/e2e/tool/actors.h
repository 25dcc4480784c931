// What the long-running actors share: announcing themselves on stdout and logging JSON lines into
// a file that the harness reads while they run.
#pragma once

#include <windows.h>

#include <string>

#include "json_writer.h"

namespace pxtool {

// One JSON line on stdout, at once: the harness waits for it to know the actor is in place.
void Announce(const JsonWriter& json);

// A log file opened for appending, shared so the harness can read it meanwhile.
HANDLE OpenLog(const std::wstring& path);

// Every line must be in the file as soon as it is written: the test reads it while we run.
void AppendLogLine(HANDLE log, const std::string& line);

// Dispatches messages until the deadline or until WM_QUIT or WM_CLOSE comes by; true when told to
// stop.
bool PumpUntil(ULONGLONG deadline);

}  // namespace pxtool
