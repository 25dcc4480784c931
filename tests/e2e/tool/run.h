// Running one pxtool command line, once as a process or many times in `pxtool serve`.
#pragma once

#include <string>
#include <vector>

namespace pxtool {

struct Outcome {
  int exit_code = 0;   // 0, or the ToolError's code
  std::string json;    // the command's document when it succeeded
  std::wstring error;  // the message when it failed
};

enum class Host { kOwnProcess, kServe };

// Never throws: every failure, whatever its kind, comes back as an outcome.
Outcome Execute(const std::vector<std::wstring>& command_line, Host host);

// Commands on stdin, one JSON array of strings a line; answers on stdout, one line each:
// {"ok":true,"result":DOCUMENT} or {"ok":false,"code":N,"error":"MESSAGE"}. Ends at the end of
// stdin.
int Serve();

}  // namespace pxtool
