// The processes of the prefix, and which of them the harness started.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <optional>
#include <string>
#include <string_view>

#include "base.h"
#include "commands.h"

namespace pxtool {
namespace {

// Reads one variable from another process's environment block through its PEB, which is how the
// harness tells which Windows process a Unix process it started has become.
std::optional<std::wstring> RemoteEnvironmentValue(DWORD pid, const std::wstring& name) {
  Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (process.get() == nullptr) {
    return std::nullopt;
  }
  PROCESS_BASIC_INFORMATION basic = {};
  if (NtQueryInformationProcess(process.get(), ProcessBasicInformation, &basic, sizeof basic,
                                nullptr) != 0 ||
      basic.PebBaseAddress == nullptr) {
    return std::nullopt;
  }
  auto read = [&](const void* address, void* out, size_t size) {
    SIZE_T done = 0;
    return ReadProcessMemory(process.get(), address, out, size, &done) && done == size;
  };
  // x64 layout: PEB.ProcessParameters at 0x20, RTL_USER_PROCESS_PARAMETERS.Environment at 0x80.
  void* parameters = nullptr;
  void* environment = nullptr;
  if (!read(reinterpret_cast<const char*>(basic.PebBaseAddress) + 0x20, &parameters,
            sizeof parameters) ||
      parameters == nullptr ||
      !read(static_cast<const char*>(parameters) + 0x80, &environment, sizeof environment) ||
      environment == nullptr) {
    return std::nullopt;
  }
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQueryEx(process.get(), environment, &region, sizeof region) == 0) {
    return std::nullopt;
  }
  const size_t available =
      static_cast<size_t>(static_cast<const char*>(region.BaseAddress) + region.RegionSize -
                          static_cast<const char*>(environment));
  const size_t size = available < (1u << 20) ? available : (1u << 20);
  std::wstring block(size / sizeof(wchar_t), L'\0');
  if (!read(environment, block.data(), block.size() * sizeof(wchar_t))) {
    return std::nullopt;
  }
  size_t pos = 0;
  while (pos < block.size() && block[pos] != L'\0') {
    const size_t end = block.find(L'\0', pos);
    const std::wstring_view entry(block.data() + pos,
                                  (end == std::wstring::npos ? block.size() : end) - pos);
    const size_t equals = entry.find(L'=', 1);
    if (equals == name.size() && _wcsnicmp(entry.data(), name.c_str(), name.size()) == 0) {
      return std::wstring(entry.substr(equals + 1));
    }
    if (end == std::wstring::npos) {
      break;
    }
    pos = end + 1;
  }
  return std::nullopt;
}

}  // namespace

void CmdProcesses(const Args& args, JsonWriter& json) {
  const auto env_name = args.Option(L"env");
  Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (snapshot.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateToolhelp32Snapshot");
  }
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  json.BeginArray();
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    json.BeginObject()
        .Key("pid")
        .UInt(entry.th32ProcessID)
        .Key("ppid")
        .UInt(entry.th32ParentProcessID)
        .Key("exe")
        .String(entry.szExeFile)
        .Key("path");
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    wchar_t path[MAX_PATH * 4] = {};
    DWORD size = MAX_PATH * 4;
    if (process.get() != nullptr && QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
      json.String(std::wstring_view(path, size));
    } else {
      json.Null();
    }
    if (env_name) {
      json.Key("env");
      if (const auto value = RemoteEnvironmentValue(entry.th32ProcessID, *env_name)) {
        json.String(*value);
      } else {
        json.Null();
      }
    }
    json.EndObject();
  }
  json.EndArray();
}

}  // namespace pxtool
