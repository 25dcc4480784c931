#include "win32/platform/process_integrity.h"

#include <windows.h>

#include <vector>

#include "win32/platform/unique_handle.h"

namespace pellix::win32 {
namespace {

std::optional<std::uint32_t> TokenLevel(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) {
    return std::nullopt;
  }
  const UniqueHandle owned(token);
  DWORD size = 0;
  GetTokenInformation(owned.Get(), TokenIntegrityLevel, nullptr, 0, &size);
  if (size < sizeof(TOKEN_MANDATORY_LABEL)) {
    return std::nullopt;
  }
  // The label's SID follows the record in the same buffer; DWORDs keep it aligned.
  std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
  if (!GetTokenInformation(owned.Get(), TokenIntegrityLevel, buffer.data(), size, &size)) {
    return std::nullopt;
  }
  const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
  const PSID sid = label->Label.Sid;
  if (sid == nullptr || !IsValidSid(sid) || *GetSidSubAuthorityCount(sid) == 0) {
    return std::nullopt;
  }
  // The level is the SID's last sub-authority (S-1-16-8192 is medium).
  return static_cast<std::uint32_t>(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u));
}

}  // namespace

std::optional<std::uint32_t> Win32ProcessIntegrity::OwnLevel() const {
  return TokenLevel(GetCurrentProcess());
}

std::optional<std::uint32_t> Win32ProcessIntegrity::LevelOf(std::uint32_t processId) const {
  const UniqueHandle process(
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId)));
  if (!process.Valid()) {
    return std::nullopt;
  }
  return TokenLevel(process.Get());
}

}  // namespace pellix::win32
