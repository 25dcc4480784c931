// A command's arguments: positional ones and `--name value` / `--flag` options, in any order.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pxtool {

class Args {
 public:
  // Options the command does not know are refused, so a typo cannot silently widen a filter.
  Args(const std::vector<std::wstring>& args, std::initializer_list<const wchar_t*> options,
       std::initializer_list<const wchar_t*> flags);

  const std::vector<std::wstring>& positional() const { return positional_; }
  const std::wstring& At(size_t index, const wchar_t* what) const;

  // The last value given for the option, if any.
  std::optional<std::wstring> Option(const wchar_t* name) const;
  std::vector<std::wstring> All(const wchar_t* name) const;
  bool Flag(const wchar_t* name) const { return Option(name).has_value(); }
  long long Number(const wchar_t* name, long long fallback) const;

 private:
  std::vector<std::wstring> positional_;
  std::vector<std::pair<std::wstring, std::wstring>> options_;
};

}  // namespace pxtool
