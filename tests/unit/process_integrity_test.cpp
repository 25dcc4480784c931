// The system's answer behind the rule that keeps a paste from typing into an elevated process:
// the integrity levels as the Win32 layer reads them from processes' tokens.
#ifdef _WIN32

#include "win32/platform/process_integrity.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace pellix::win32 {
namespace {

TEST(Win32ProcessIntegrity, ReadsOurOwnLevelAlikeBothWays) {
  const Win32ProcessIntegrity integrity;
  const std::optional<std::uint32_t> own = integrity.OwnLevel();
  ASSERT_TRUE(own);
  EXPECT_GE(*own, paste::kLowIntegrity);
  EXPECT_LE(*own, paste::kSystemIntegrity);
  // Opened by its id, as a paste target's process is, our process gives the same level.
  EXPECT_EQ(integrity.LevelOf(GetCurrentProcessId()), own);
  // Nothing is known of a process that does not exist; the rule then types as always.
  EXPECT_EQ(integrity.LevelOf(0xFFFFFFF0u), std::nullopt);
  EXPECT_FALSE(paste::KeysWouldBeDropped(integrity, GetCurrentProcessId(), 0xFFFFFFF0u));
}

}  // namespace
}  // namespace pellix::win32

#endif  // _WIN32
