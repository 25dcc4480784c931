#pragma once
// Every file of the program lies in the executable's folder, named after a list or fixed.

#include <string>
#include <string_view>

#include "core/text/text_services.h"

namespace pellix::io {

class AppFolder {
 public:
  // `exeDir` ends with its path separator.
  AppFolder(std::u16string exeDir, const text::TextServices& services)
      : exeDir_(std::move(exeDir)), services_(&services) {}

  const std::u16string& Dir() const { return exeDir_; }

  // exeDir + name + extension, the name being code page 932 text used unchanged.
  std::u16string PathFor(std::string_view name, std::u16string_view extension) const;

 private:
  std::u16string exeDir_;
  const text::TextServices* services_;
};

}  // namespace pellix::io
