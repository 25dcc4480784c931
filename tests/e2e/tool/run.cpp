#include "run.h"

#include <exception>

#include "args.h"
#include "base.h"
#include "commands.h"
#include "json_writer.h"

namespace pxtool {

Outcome Execute(const std::vector<std::wstring>& command_line, Host host) {
  Outcome outcome;
  try {
    if (command_line.empty()) {
      Usage(UsageText());
    }
    const Command* command = FindCommand(command_line[0]);
    if (command == nullptr) {
      Usage(L"unknown command: " + command_line[0] + L"\n" + UsageText());
    }
    if (host == Host::kServe && command->lifetime == Lifetime::kOwnProcess) {
      Usage(command_line[0] + L" runs as a process of its own, never in serve");
    }
    const Args args({command_line.begin() + 1, command_line.end()}, command->options,
                    command->flags);
    JsonWriter json;
    command->run(args, json);
    outcome.json = json.str();
  } catch (const ToolError& error) {
    outcome.exit_code = error.exit_code;
    outcome.error = error.message;
  } catch (const std::exception& error) {
    outcome.exit_code = 1;
    outcome.error = L"unexpected failure: " + FromUtf8(error.what());
  }
  return outcome;
}

}  // namespace pxtool
