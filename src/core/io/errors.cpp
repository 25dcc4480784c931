#include "core/io/errors.h"

#include "core/text/utf.h"

namespace pellix::io {
namespace {

std::u16string Quoted(std::string_view bytes) {
  std::u16string shown = u"'";
  shown.reserve(bytes.size() + 2);
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    shown += value >= 0x20 && value < 0x7F ? static_cast<char16_t>(value) : u'?';
  }
  shown += u'\'';
  return shown;
}

}  // namespace

AppError::AppError(std::u16string message)
    : std::runtime_error(text::Utf16ToUtf8(message)), message_(std::move(message)) {}

FileOpenError::FileOpenError(const std::u16string& path)
    : AppError(u"ファイル " + path + u" は開けません") {}

FileCreateError::FileCreateError(const std::u16string& path, const std::u16string& reason)
    : AppError(u"ファイル " + path + u" を作成できません" +
               (reason.empty() ? std::u16string() : u"\r\n" + reason)) {}

IntegerConversionError::IntegerConversionError(std::string_view text)
    : AppError(Quoted(text).append(u" is not a valid integer value")) {}

RangeError::RangeError() : AppError(u"Range check error") {}

IntegerConversionError::IntegerConversionError(std::string_view text, std::u16string_view where)
    : AppError(Quoted(text).append(u" is not a valid integer value\r\n").append(where)) {}

RangeError::RangeError(std::u16string_view where)
    : AppError(std::u16string(u"Range check error\r\n").append(where)) {}

ClipboardError::ClipboardError() : AppError(u"クリップボードを開くことができません") {}

bool IsClipboardError(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const AppError& appError) {
    return appError.Message().find(u"クリップボード") != std::u16string::npos;
  } catch (...) {
    return false;
  }
}

}  // namespace pellix::io
