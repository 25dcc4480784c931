// pxtool: the end-to-end tests' hands and eyes inside Wine. Each command inspects or drives the
// windows of another process the way a user or a screen reader would, prints one JSON document
// (UTF-8) on stdout and exits 0; on failure it prints a message on stderr and exits non-zero.
// `pxtool serve` runs many commands in one process (see serve.cpp). Every wait is bounded: a hung
// target must fail a test, never stall it.
#include <windows.h>

#include <string>
#include <vector>

#include "base.h"
#include "run.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> command_line(argv + 1, argv + argc);
  if (command_line.size() == 1 && command_line[0] == L"serve") {
    return pxtool::Serve();
  }
  const pxtool::Outcome outcome = pxtool::Execute(command_line, pxtool::Host::kOwnProcess);
  if (outcome.exit_code != 0) {
    pxtool::WriteRaw(STD_ERROR_HANDLE, "pxtool: " + pxtool::ToUtf8(outcome.error) + "\n");
    return outcome.exit_code;
  }
  pxtool::WriteRaw(STD_OUTPUT_HANDLE, outcome.json + "\n");
  return 0;
}
