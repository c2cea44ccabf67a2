#include "support/fuzz_dictionary.h"

#include <fstream>
#include <stdexcept>
#include <string_view>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of one entry line, or false when the line is not one.
bool ParseEntry(std::string_view line, std::string& value) {
  const size_t open = line.find('"');
  if (open == std::string_view::npos || line.size() < open + 2 || line.back() != '"') return false;
  const std::string_view name = line.substr(0, open);
  if (!name.empty() && name.back() != '=') return false;
  value.clear();
  const std::string_view body = line.substr(open + 1, line.size() - open - 2);
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '"') return false;  // unescaped quote inside
    if (c != '\\') {
      value += c;
      continue;
    }
    if (++i == body.size()) return false;
    if (body[i] == '\\' || body[i] == '"') {
      value += body[i];
    } else if (body[i] == 'x' && i + 2 < body.size() && HexDigit(body[i + 1]) >= 0 &&
               HexDigit(body[i + 2]) >= 0) {
      value += static_cast<char>(HexDigit(body[i + 1]) * 16 + HexDigit(body[i + 2]));
      i += 2;
    } else {
      return false;
    }
  }
  return !value.empty();
}

}  // namespace

std::set<std::string> ReadFuzzDictionary(const std::filesystem::path& Path) {
  std::ifstream in(Path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Path.string());
  std::set<std::string> entries;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    const size_t last = line.find_last_not_of(" \t\r");
    std::string value;
    if (!ParseEntry(std::string_view(line).substr(first, last - first + 1), value))
      throw std::runtime_error(Path.string() + ":" + std::to_string(number) + ": not a dictionary entry: " + line);
    entries.insert(value);
  }
  return entries;
}

std::filesystem::path FuzzSourceDir() { return TOOL_FUZZ_DIR; }
