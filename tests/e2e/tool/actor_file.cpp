// hold-file: a program that keeps a file open and shares it with nobody, as a virus scanner or
// an editor with a lock may, so that other programs cannot read it meanwhile.
#include <windows.h>

#include <string>

#include "actors.h"
#include "base.h"
#include "commands.h"
#include "window_basics.h"

namespace pxtool {

void CmdHoldFile(const Args& args, JsonWriter& json) {
  const auto path = args.Option(L"file");
  if (!path) {
    Usage(L"hold-file needs --file PATH");
  }
  const ULONGLONG deadline = DeadlineIn(args.Number(L"seconds", 60));
  const Handle file(CreateFileW(path->c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  const HiddenWindow window(L"pxtool file lock");
  JsonWriter hello;
  hello.BeginObject()
      .Key("hwnd")
      .UInt(HwndValue(window.get()))
      .Key("held")
      .Bool(file.get() != INVALID_HANDLE_VALUE)
      .EndObject();
  Announce(hello);
  PumpUntil(deadline);
  json.BeginObject().Key("released").Bool(true).EndObject();
}

}  // namespace pxtool
