#pragma once
// The program's trace read back: one record a line, each field's value as
// text (strings unescaped, numbers as written). Only the flat objects the
// trace writes are read; a line cut off gives the fields before the cut.
//
//   for (const auto& r : testing_support::ReadTrace(path)) if (r.at("ev") == "input") ...
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

using TraceRecord = std::map<std::string, std::string>;

inline TraceRecord ParseTraceLine(const std::string& line) {
  TraceRecord record;
  std::size_t i = 1;
  const auto text = [&] {  // a string, from just past its opening quote to past its closing one
    std::string out;
    for (; i < line.size() && line[i] != '"'; ++i) {
      if (line[i] == '\\' && ++i < line.size()) {
        const char c = line[i];
        if (c == 'u') out += static_cast<char>(std::stoi(line.substr(i + 1, 4), nullptr, 16)), i += 4;
        else out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
      } else {
        out += line[i];
      }
    }
    ++i;
    return out;
  };
  while (i < line.size() && line[i++] == '"') {
    const std::string key = text();
    if (++i >= line.size()) break;  // past the colon
    const auto end = line.find_first_of(",}", i);
    if (line[i] == '"') ++i, record[key] = text();
    else if (end != std::string::npos) record[key] = line.substr(i, end - i), i = end;
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
