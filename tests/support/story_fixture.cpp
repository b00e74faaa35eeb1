#include "support/story_fixture.h"

#include <unistd.h>

#include <fstream>
#include <regex>

#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/cp932.h"
#include "runtime/trace.h"
#include "support/painted_windows.h"

namespace testing_support {
namespace {

std::string Unescape(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
  }
  return out;
}

std::string Cp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* dst = out.data();
  std::size_t in_left = utf8.size(), out_left = out.size();
  iconv(cd, &in, &in_left, &dst, &out_left);
  iconv_close(cd);
  out.resize(out.size() - out_left);
  return out;
}

// The "value" of a trace line when it is text (long pages make regular
// expressions recurse too deeply).
std::string TextValue(const std::string& line) {
  const std::string key = "\"value\":\"";
  const auto at = line.find(key);
  if (at == std::string::npos || line.size() < at + key.size() + 2) return "";
  return Unescape(line.substr(at + key.size(), line.size() - 2 - (at + key.size())));
}

}  // namespace

void StoryFixture::SetUp() {
  ToolkitFixture::SetUp();
  PaintWithRenderer(platform);
  Module1::WaitingForReader = tk::False;
  VN_Midi::CurrentTune.clear();
  temp.emplace("story");
  dir = temp->path();
  in_dir.emplace(dir);
  trace_path = dir / "trace.jsonl";
  tk::trace::Open(trace_path.c_str(), platform.clock);
  VN_Midi::UseDevice(midi);
  platform.on_wait = [this] {
    if (Module1::WaitingForReader) platform.KeyUp();
  };
}

void StoryFixture::TearDown() {
  VN_Midi::UseNoDevice();
  tk::trace::Close();
  in_dir.reset();
  temp.reset();
  ToolkitFixture::TearDown();
}

void StoryFixture::WriteScript(const std::string& utf8) { WriteFile("Rodevez2E.dat", Cp932(utf8)); }

void StoryFixture::WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::vector<std::string> StoryFixture::Sets(const std::string& form) const {
  static const std::regex set(
      "\\{\"ms\":(\\d+),\"ev\":\"set\",\"form\":\"(\\w+)\",\"control\":\"([^\"]+)\",\"prop\":\"(\\w+)\",\"value\":\"?([^\"]*)\"?\\}");
  std::vector<std::string> out;
  std::ifstream in(trace_path);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    if (std::regex_match(line, m, set) && m[2] == form)
      out.push_back(m[1].str() + " " + m[3].str() + " " + m[4].str() + " " + m[5].str());
  }
  return out;
}

std::vector<std::string> StoryFixture::Log(bool windows) const {
  std::vector<std::string> log;
  std::ifstream in(trace_path);
  for (std::string line; std::getline(in, line);) {
    std::smatch m;
    const std::string v = TextValue(line);
    auto has = [&](const char* s) { return line.find(s) != std::string::npos; };
    static const std::regex form("\"form\":\"(\\w+)\"");
    std::smatch f;
    const std::string form_name = std::regex_search(line, f, form) ? f[1].str() : "";
    if (windows && has("\"ev\":\"show\"")) log.push_back("show " + form_name);
    else if (windows && has("\"ev\":\"unload\"")) log.push_back("unload " + form_name);
    else if (windows && has("\"op\":\"PlayWav\"")) log.push_back("wav");
    else if (has("\"ev\":\"set\"") && form_name != "Form1") continue;
    else if (has("\"control\":\"Label1\"")) log.push_back("page " + v);
    else if (has("\"control\":\"Label2\"")) log.push_back("name " + v);
    else if (has("\"control\":\"Image1\"")) log.push_back("pict " + v);
    else if (has("\"control\":\"Image2\"")) log.push_back("icon " + v);
    else if (has("\"control\":\"Shape2\"")) log.push_back("shade");
    else if (has("\"kind\":\"keyup\"")) log.push_back("turn");
    else if (has("\"op\":\"StopMidi\"")) log.push_back("stop");
    else if (has("\"op\":\"PlayMidi\"") && !has("\"arg\":\"\"")) {
      static const std::regex arg("\"arg\":\"(.*)\"\\}$");
      std::regex_search(line, m, arg);
      log.push_back("play " + m[1].str());
    }
  }
  return log;
}

}  // namespace testing_support
