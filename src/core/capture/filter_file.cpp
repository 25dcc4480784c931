#include "core/capture/filter_file.h"

#include <optional>
#include <vector>

#include "core/io/integer.h"
#include "core/text/cp932.h"

namespace pellix::capture {
namespace {

bool KeyEquals(std::string_view key, std::string_view wanted) {
  if (key.size() != wanted.size()) {
    return false;
  }
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(key[i]) != lower(wanted[i])) {
      return false;
    }
  }
  return true;
}

class KeyValueLines {
 public:
  explicit KeyValueLines(std::string_view content) : lines_(text::SplitLines(content)) {}

  bool Empty() const { return lines_.empty(); }

  std::string_view Value(std::string_view key) const {
    for (const std::string& line : lines_) {
      const std::size_t eq = line.find('=');
      if (eq != std::string::npos && KeyEquals(std::string_view(line).substr(0, eq), key)) {
        return std::string_view(line).substr(eq + 1);
      }
    }
    return {};
  }

  std::int32_t Integer(std::string_view key) const {
    const std::string_view value = Value(key);
    return value.empty() ? 0 : io::ParseInt32(value);
  }

  bool Flag(std::string_view key) const { return Value(key) == "1"; }

 private:
  std::vector<std::string> lines_;
};

std::string RowKey(std::string_view base, int row) {
  return std::string(base) + static_cast<char>('0' + row);
}

}  // namespace

std::u16string FilterFilePath(const io::AppFolder& folder, std::string_view listName) {
  return folder.PathFor(listName, u".flt");
}

FilterDef ParseFilterFile(std::string_view content) {
  const KeyValueLines lines(content);
  FilterDef def;
  if (lines.Empty()) {
    return def;
  }
  def.filname = lines.Value("filname");
  def.type = lines.Value("type");
  def.kaigyo = lines.Integer("kaigyo");
  def.astring = lines.Value("astring");
  def.bstring = lines.Value("bstring");
  def.cstring = lines.Value("cstring");
  def.acount = lines.Integer("acount");
  def.bcount = lines.Integer("bcount");
  def.zen = lines.Flag("zen");
  def.caps = lines.Flag("caps");
  def.small = lines.Flag("small");
  for (int row = 0; row < kReplacementRows; ++row) {
    def.exfrom[row] = lines.Value(RowKey("exfrom", row));
  }
  for (int row = 0; row < kReplacementRows; ++row) {
    def.exto[row] = lines.Value(RowKey("exto", row));
  }
  return def;
}

std::string FormatFilterFile(const FilterDef& def) {
  std::string out;
  const auto line = [&out](std::string_view key, std::string_view value) {
    out.append(key).append("=").append(value).append("\r\n");
  };
  line("filname", def.filname);
  line("type", def.type);
  line("kaigyo", std::to_string(def.kaigyo));
  line("acount", std::to_string(def.acount));
  line("bcount", std::to_string(def.bcount));
  line("astring", def.astring);
  line("bstring", def.bstring);
  line("cstring", def.cstring);
  line("zen", def.zen ? "1" : "0");
  line("caps", def.caps ? "1" : "0");
  line("small", def.small ? "1" : "0");
  for (int row = 0; row < kReplacementRows; ++row) {
    line(RowKey("exfrom", row), def.exfrom[row]);
  }
  for (int row = 0; row < kReplacementRows; ++row) {
    line(RowKey("exto", row), def.exto[row]);
  }
  return out;
}

FilterDef ReadFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                         std::string_view listName) {
  return ParseFilterFile(files.ReadAll(FilterFilePath(folder, listName)));
}

void WriteFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                     const FilterDef& def) {
  files.WriteAll(FilterFilePath(folder, def.filname), FormatFilterFile(def));
}

}  // namespace pellix::capture
