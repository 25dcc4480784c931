#pragma once
// Control and command identifiers of the main window.

namespace pellix::win32 {

enum ControlId : int {
  kIdComboBox = 100,
  kIdBitBtn1,
  kIdTabBox,
  kIdWideBox,
  kIdMBox,
  kIdListBox,
  kIdTntListBox1,
  kIdDropBox,
};

enum CommandId : int {
  kCmdFullToHalfWidth = 1017,  // N17 全角英数字を半角に
  kCmdToFullWidth,             // N18 半角文字を全角に
  kCmdToLowerCase,             // N19 大文字を小文字に
  kCmdToUpperCase,             // N20 小文字を大文字に
};

}  // namespace pellix::win32
