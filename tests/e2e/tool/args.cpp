#include "args.h"

#include "base.h"

namespace pxtool {
namespace {

bool Listed(std::initializer_list<const wchar_t*> names, const std::wstring& name) {
  for (const wchar_t* listed : names) {
    if (name == listed) {
      return true;
    }
  }
  return false;
}

}  // namespace

Args::Args(const std::vector<std::wstring>& args, std::initializer_list<const wchar_t*> options,
           std::initializer_list<const wchar_t*> flags) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& arg = args[i];
    if (arg.size() <= 2 || arg.compare(0, 2, L"--") != 0) {
      positional_.push_back(arg);
      continue;
    }
    const std::wstring name = arg.substr(2);
    if (Listed(flags, name)) {
      options_.emplace_back(name, L"");
    } else if (!Listed(options, name)) {
      Usage(L"unknown option --" + name);
    } else if (i + 1 >= args.size()) {
      Usage(L"option --" + name + L" needs a value");
    } else {
      options_.emplace_back(name, args[++i]);
    }
  }
}

const std::wstring& Args::At(size_t index, const wchar_t* what) const {
  if (index >= positional_.size()) {
    Usage(std::wstring(L"missing argument: ") + what);
  }
  return positional_[index];
}

std::optional<std::wstring> Args::Option(const wchar_t* name) const {
  std::optional<std::wstring> found;
  for (const auto& [key, value] : options_) {
    if (key == name) {
      found = value;
    }
  }
  return found;
}

std::vector<std::wstring> Args::All(const wchar_t* name) const {
  std::vector<std::wstring> found;
  for (const auto& [key, value] : options_) {
    if (key == name) {
      found.push_back(value);
    }
  }
  return found;
}

long long Args::Number(const wchar_t* name, long long fallback) const {
  const auto value = Option(name);
  return value ? ParseInteger(*value, name) : fallback;
}

}  // namespace pxtool
