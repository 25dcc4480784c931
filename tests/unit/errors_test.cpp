#include "core/io/errors.h"

#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>

namespace pellix::io {
namespace {

template <typename Error, typename... Args>
std::exception_ptr Thrown(Args&&... args) {
  try {
    throw Error(std::forward<Args>(args)...);
  } catch (...) {
    return std::current_exception();
  }
}

// A clipboard error is another program holding the clipboard and is not shown once pellix runs;
// any other error must still reach the user, whatever its message mentions.
TEST(IsClipboardError, TellsTheClipboardsErrorsFromTheOnesTheUserMustSee) {
  EXPECT_TRUE(IsClipboardError(Thrown<ClipboardError>()));
  EXPECT_FALSE(IsClipboardError(Thrown<FileOpenError>(u"C:\\pellix\\履歴.dat")));
  EXPECT_FALSE(IsClipboardError(Thrown<FileCreateError>(u"a.dat", u"ディスクがいっぱいです")));
  EXPECT_FALSE(IsClipboardError(Thrown<std::runtime_error>("クリップボード")));
  EXPECT_FALSE(IsClipboardError(Thrown<int>(3)));
}

}  // namespace
}  // namespace pellix::io
