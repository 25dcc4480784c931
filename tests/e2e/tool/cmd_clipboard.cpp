// Commands that read and write the clipboard as another program would.
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "base.h"
#include "clipboard.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {
namespace {

std::wstring FormatName(UINT format) {
  static const std::pair<UINT, const wchar_t*> kStandard[] = {
      {CF_TEXT, L"CF_TEXT"},
      {CF_BITMAP, L"CF_BITMAP"},
      {CF_OEMTEXT, L"CF_OEMTEXT"},
      {CF_DIB, L"CF_DIB"},
      {CF_UNICODETEXT, L"CF_UNICODETEXT"},
      {CF_HDROP, L"CF_HDROP"},
      {CF_LOCALE, L"CF_LOCALE"},
      {CF_DIBV5, L"CF_DIBV5"},
  };
  for (const auto& [value, name] : kStandard) {
    if (value == format) {
      return name;
    }
  }
  wchar_t name[256] = {};
  if (GetClipboardFormatNameW(format, name, 256) > 0) {
    return name;
  }
  return L"";
}

UINT ParseFormat(const std::wstring& text) {
  if (auto value = ParseUnsigned(text)) {
    return static_cast<UINT>(*value);
  }
  for (UINT standard = 1; standard < 0x100; ++standard) {
    if (FormatName(standard) == text) {
      return standard;
    }
  }
  return RegisterClipboardFormatW(text.c_str());
}

std::string HexOf(const unsigned char* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(size * 2);
  for (size_t i = 0; i < size; ++i) {
    hex += kDigits[data[i] >> 4];
    hex += kDigits[data[i] & 15];
  }
  return hex;
}

void SetClipboardBlock(UINT format, HGLOBAL block) {
  if (SetClipboardData(format, block) == nullptr) {
    const DWORD error = GetLastError();
    GlobalFree(block);
    SetLastError(error);
    FailWin32(L"SetClipboardData");
  }
}

std::string ReadFileBytes(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) {
    FailWin32(L"CreateFileW " + path);
  }
  std::string bytes;
  char chunk[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
    bytes.append(chunk, got);
  }
  return bytes;
}

// Writes the text, if any, and with --extra NAME[=DWORD] the registered formats with which
// password managers mark a text as not to be recorded: everything in one opening, so one change
// notice follows.
void SetClipboard(const Args& args, JsonWriter& json, const std::optional<std::wstring>& text) {
  const OwnerWindow owner;
  {
    const ClipboardOpening opening(owner.get());
    if (!EmptyClipboard()) {
      FailWin32(L"EmptyClipboard");
    }
    if (text) {
      SetClipboardBlock(CF_UNICODETEXT,
                        GlobalCopy(text->c_str(), (text->size() + 1) * sizeof(wchar_t)));
    }
    for (const std::wstring& extra : args.All(L"extra")) {
      const size_t equals = extra.find(L'=');
      const UINT format = RegisterClipboardFormatW(extra.substr(0, equals).c_str());
      if (format == 0) {
        FailWin32(L"RegisterClipboardFormatW");
      }
      if (equals == std::wstring::npos) {
        SetClipboardBlock(format, GlobalCopy("", 0));
      } else {
        const auto value = static_cast<DWORD>(ParseInteger(extra.substr(equals + 1), L"--extra"));
        SetClipboardBlock(format, GlobalCopy(&value, sizeof value));
      }
    }
  }
  json.BeginObject()
      .Key("ok")
      .Bool(true)
      .Key("sequence")
      .UInt(GetClipboardSequenceNumber())
      .EndObject();
}

}  // namespace

void CmdClipboardGet(const Args& args, JsonWriter& json) {
  const auto raw = args.Option(L"raw");
  const UINT raw_format = raw ? ParseFormat(*raw) : 0;
  const ClipboardOpening opening(nullptr);
  json.BeginObject()
      .Key("sequence")
      .UInt(GetClipboardSequenceNumber())
      .Key("owner")
      .UInt(HwndValue(GetClipboardOwner()))
      .Key("formats")
      .BeginArray();
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    json.BeginObject().Key("id").UInt(format).Key("name").String(FormatName(format)).EndObject();
  }
  json.EndArray().Key("text");
  if (const auto text = OpenClipboardUnicodeText()) {
    json.String(*text);
  } else {
    json.Null();
  }
  if (raw) {
    json.Key("raw");
    const LockedBlock block(raw_format);
    if (block.data() != nullptr) {
      json.Utf8(HexOf(static_cast<const unsigned char*>(block.data()), block.size()));
    } else {
      json.Null();
    }
  }
  json.EndObject();
}

void CmdClipboardSet(const Args& args, JsonWriter& json) {
  const auto file = args.Option(L"file");
  SetClipboard(args, json, file ? FromUtf8(ReadFileBytes(*file)) : args.At(0, L"TEXT"));
}

void CmdClipboardClear(const Args& args, JsonWriter& json) {
  SetClipboard(args, json, std::nullopt);
}

void CmdClipboardViewer(const Args&, JsonWriter& json) {
  HWND viewer = GetClipboardViewer();
  json.BeginObject().Key("viewer").UInt(HwndValue(viewer)).Key("pid");
  if (viewer != nullptr) {
    json.UInt(PidOf(viewer)).Key("class").String(ClassOf(viewer));
  } else {
    json.Null().Key("class").Null();
  }
  json.Key("owner").UInt(HwndValue(GetClipboardOwner())).EndObject();
}

}  // namespace pxtool
