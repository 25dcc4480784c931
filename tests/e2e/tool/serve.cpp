// pxtool serve: many commands in one process, so that a test pays for starting a Windows process
// once instead of once per look at a window.
//
// Each command runs on a thread of its own that ends before its answer is written. What a
// command leaves on its thread goes with the thread: its message queue and input state, windows
// it made, an opened clipboard. A command still undoes what it did itself (see clipboard.h and
// the keys in cmd_input.cpp); the thread is what makes sure that the next command starts from
// where a new process would. Between commands the server has no window, so nobody can wait on it
// while it waits for its next line.
#include <windows.h>

#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "base.h"
#include "json_reader.h"
#include "json_writer.h"
#include "run.h"

namespace pxtool {
namespace {

// Lines from a pipe, split at LF; a CR before the LF is dropped.
class LineReader {
 public:
  explicit LineReader(HANDLE input) : input_(input) {}

  bool Next(std::string& line) {
    for (;;) {
      const size_t end = buffer_.find('\n', scanned_);
      if (end != std::string::npos) {
        line.assign(buffer_, 0, end);
        buffer_.erase(0, end + 1);
        scanned_ = 0;
        if (!line.empty() && line.back() == '\r') {
          line.pop_back();
        }
        return true;
      }
      scanned_ = buffer_.size();
      char chunk[65536];
      DWORD got = 0;
      if (!ReadFile(input_, chunk, sizeof chunk, &got, nullptr) || got == 0) {
        // The end of the input; a last line without its LF still counts.
        line = std::move(buffer_);
        buffer_.clear();
        scanned_ = 0;
        return !line.empty();
      }
      buffer_.append(chunk, got);
    }
  }

 private:
  HANDLE input_;
  std::string buffer_;
  size_t scanned_ = 0;
};

struct Job {
  std::string_view line;
  Outcome outcome;
};

DWORD WINAPI RunJob(void* param) {
  Job& job = *static_cast<Job*>(param);
  try {
    job.outcome = Execute(ParseStringArray(job.line), Host::kServe);
  } catch (const ToolError& error) {
    job.outcome = {error.exit_code, {}, error.message};
  } catch (const std::exception& error) {
    job.outcome = {1, {}, L"unexpected failure: " + FromUtf8(error.what())};
  }
  return 0;
}

Outcome RunOnOwnThread(std::string_view line) {
  Job job{line, {}};
  const Handle thread(CreateThread(nullptr, 0, RunJob, &job, 0, nullptr));
  if (thread.get() == nullptr) {
    const DWORD error = GetLastError();
    return {1, {}, L"CreateThread failed (error " + std::to_wstring(error) + L")"};
  }
  WaitForSingleObject(thread.get(), INFINITE);
  return job.outcome;
}

std::string Answer(const Outcome& outcome) {
  JsonWriter answer;
  answer.BeginObject().Key("ok").Bool(outcome.exit_code == 0);
  if (outcome.exit_code == 0) {
    answer.Key("result").Raw(outcome.json);
  } else {
    answer.Key("code").Int(outcome.exit_code).Key("error").String(outcome.error);
  }
  answer.EndObject();
  return answer.str() + "\n";
}

}  // namespace

int Serve() {
  LineReader reader(GetStdHandle(STD_INPUT_HANDLE));
  std::string line;
  while (reader.Next(line)) {
    if (line.find_first_not_of(" \t") == std::string::npos) {
      continue;
    }
    WriteRaw(STD_OUTPUT_HANDLE, Answer(RunOnOwnThread(line)));
  }
  return 0;
}

}  // namespace pxtool
