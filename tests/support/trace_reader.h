#pragma once
// The program's trace read back: one record a line, each field's value as
// text (strings unescaped, numbers as written). Only the flat objects the
// trace writes are read.
//
//   for (const auto& r : testing_support::ReadTrace(path)) if (r.Is("ev", "input")) ...
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

struct TraceRecord {
  std::map<std::string, std::string> fields;
  std::string Get(const std::string& key) const {
    const auto it = fields.find(key);
    return it == fields.end() ? "" : it->second;
  }
  bool Is(const std::string& key, const std::string& value) const { return Get(key) == value; }
};

// One line: {"key":"text" or number, ...}; a line that is cut off (the
// program still writing it) gives the fields before the cut.
inline TraceRecord ParseTraceLine(const std::string& line) {
  TraceRecord record;
  std::size_t i = 1;
  const auto text = [&] {  // a string from just past its opening quote
    std::string out;
    for (; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] != '\\' || ++i >= line.size()) {
        out += line[i];
        continue;
      }
      switch (line[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': out += static_cast<char>(std::stoi(line.substr(i + 1, 4), nullptr, 16)), i += 4; break;
        default: out += line[i];
      }
    }
    ++i;
    return out;
  };
  while (i < line.size() && line[i] == '"') {
    ++i;
    const std::string key = text();
    if (++i >= line.size()) break;  // the colon
    if (line[i] == '"') {
      ++i;
      record.fields[key] = text();
    } else {
      const auto end = line.find_first_of(",}", i);
      if (end == std::string::npos) break;
      record.fields[key] = line.substr(i, end - i);
      i = end;
    }
    if (i < line.size() && line[i] == ',') ++i;
  }
  return record;
}

inline std::vector<TraceRecord> ReadTrace(const std::filesystem::path& path) {
  std::vector<TraceRecord> out;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) out.push_back(ParseTraceLine(line));
  return out;
}

}  // namespace testing_support
