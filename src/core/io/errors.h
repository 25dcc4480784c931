#pragma once
// The errors the file and conversion layers raise. Each carries the exact message the user sees;
// what() gives the same message in UTF-8 for logs and tests.

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pellix::io {

class AppError : public std::runtime_error {
 public:
  explicit AppError(std::u16string message);
  const std::u16string& Message() const { return message_; }

 private:
  std::u16string message_;
};

// "ファイル %s は開けません": a file that cannot be opened or read.
class FileOpenError : public AppError {
 public:
  explicit FileOpenError(const std::u16string& path);
};

// "ファイル %s を作成できません": a file that cannot be created or written. The system's reason,
// when there is one, follows on a line of its own.
class FileCreateError : public AppError {
 public:
  explicit FileCreateError(const std::u16string& path, const std::u16string& reason = u"");
};

// "'%s' is not a valid integer value". The offending text is code page 932 bytes; it is shown
// with its ASCII characters as they are and any other byte as '?', since this layer does not
// know the platform's conversion.
class IntegerConversionError : public AppError {
 public:
  explicit IntegerConversionError(std::string_view text);
  // The same message and, on a second line, where the value was read: "pellix.ini: width".
  IntegerConversionError(std::string_view text, std::u16string_view where);
};

// "Range check error": an index out of range.
class RangeError : public AppError {
 public:
  RangeError();
  // The same message and, on a second line, where the value was read.
  explicit RangeError(std::u16string_view where);
};

// "クリップボードを開くことができません": another program holds the clipboard, or it refused a
// write. Every clipboard error's message holds the word クリップボード; that is how they are told
// from the errors that matter to the user.
class ClipboardError : public AppError {
 public:
  ClipboardError();
};

bool IsClipboardError(const std::exception_ptr& error);

}  // namespace pellix::io
