#include "core/filters/filter_file.h"

#include <optional>
#include <vector>

#include "core/io/key_value_lines.h"
#include "core/text/ascii.h"
#include "core/text/cp932.h"

namespace pellix::filters {
namespace {

std::string RowKey(std::string_view base, int row) {
  return std::string(base) + static_cast<char>('0' + row);
}

}  // namespace

std::u16string FilterFilePath(const io::AppFolder& folder, std::string_view listName) {
  return folder.PathFor(listName, u".flt");
}

FilterDef ParseFilterFile(std::string_view content, std::u16string fileName) {
  const io::KeyValueLines lines(content, std::move(fileName));
  FilterDef def;
  if (lines.Empty()) {
    return def;
  }
  def.filname = lines.Value("filname");
  def.type = lines.Value("type");
  def.kaigyo = lines.OptionalInteger("kaigyo").value_or(0);
  def.astring = lines.Value("astring");
  def.bstring = lines.Value("bstring");
  def.cstring = lines.Value("cstring");
  def.acount = lines.OptionalInteger("acount").value_or(0);
  def.bcount = lines.OptionalInteger("bcount").value_or(0);
  def.zen = lines.Value("zen") == "1";
  def.caps = lines.Value("caps") == "1";
  def.small = lines.Value("small") == "1";
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

std::string WithFilname(std::string_view content, std::string_view name) {
  constexpr std::string_view kKey = "filname";
  std::string out;
  bool set = false;
  for (const std::string& line : text::SplitLines(content)) {
    const std::size_t eq = line.find('=');
    if (!set && eq != std::string::npos &&
        text::EqualsIgnoringAsciiCase(std::string_view(line).substr(0, eq), kKey)) {
      out.append(line, 0, eq + 1).append(name);
      set = true;
    } else {
      out.append(line);
    }
    out.append("\r\n");
  }
  if (!set) {
    out.append(kKey).append("=").append(name).append("\r\n");
  }
  return out;
}

FilterDef ReadFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                         std::string_view listName) {
  const std::u16string path = FilterFilePath(folder, listName);
  const std::string content = files.ReadAll(path);
  return ParseFilterFile(content, path.substr(folder.Dir().size()));
}

void WriteFilterFile(const io::FileSystem& files, const io::AppFolder& folder,
                     const FilterDef& def) {
  files.WriteAll(FilterFilePath(folder, def.filname), FormatFilterFile(def));
}

}  // namespace pellix::filters
