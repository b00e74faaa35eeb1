#include "support/story_fixture.h"

#include <unistd.h>

#include <fstream>
#include <map>

#include "demo/vn_midi.h"
#include "demo/waiting_for_reader.h"
#include "runtime/cp932.h"
#include "runtime/trace.h"
#include "support/painted_windows.h"
#include "support/trace_reader.h"

namespace testing_support {
namespace {

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

}  // namespace

void StoryFixture::SetUp() {
  ToolkitFixture::SetUp();
  PaintWithRenderer(platform);
  Module1::WaitingForReader = rt::False;
  VN_Midi::CurrentTune.clear();
  temp.emplace("story");
  dir = temp->path();
  in_dir.emplace(dir);
  trace_path = dir / "trace.jsonl";
  rt::trace::Open(trace_path.c_str(), platform.clock);
  VN_Midi::UseDevice(midi);
  platform.on_wait = [this] {
    if (Module1::WaitingForReader) platform.KeyUp();
  };
}

void StoryFixture::TearDown() {
  VN_Midi::UseNoDevice();
  rt::trace::Close();
  in_dir.reset();
  temp.reset();
  ToolkitFixture::TearDown();
}

void StoryFixture::WriteScript(const std::string& utf8) { WriteFile("Rodevez2E.dat", Cp932(utf8)); }

void StoryFixture::WriteFile(const std::string& name, const std::string& bytes) {
  std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::vector<std::string> StoryFixture::Sets(const std::string& form) const {
  std::vector<std::string> out;
  for (auto& r : ReadTrace(trace_path))
    if (r["ev"] == "set" && r["form"] == form && !r["control"].empty())
      out.push_back(r["ms"] + " " + r["control"] + " " + r["prop"] + " " + r["value"]);
  return out;
}

std::vector<std::string> StoryFixture::Log(bool windows) const {
  static const std::map<std::string, std::string> kControls = {
      {"Label1", "page "}, {"Label2", "name "}, {"Image1", "pict "}, {"Image2", "icon "}, {"Shape2", "shade"}};
  std::vector<std::string> log;
  for (auto& r : ReadTrace(trace_path)) {
    const auto control = kControls.find(r["control"]);
    if (windows && (r["ev"] == "show" || r["ev"] == "unload")) log.push_back(r["ev"] + " " + r["form"]);
    else if (windows && r["op"] == "PlayWav") log.push_back("wav");
    else if (r["ev"] == "set" && r["form"] != "Form1") continue;
    else if (control != kControls.end()) log.push_back(control->second + (control->first == "Shape2" ? "" : r["value"]));
    else if (r["kind"] == "keyup" || r["kind"] == "wheeldown") log.push_back("turn");
    else if (r["kind"] == "back" && !log.empty() && log.back() == "turn") log.back() = "back";  // PageUp's release
    else if (r["kind"] == "back") log.push_back("back");
    else if (r["op"] == "StopMidi") log.push_back("stop");
    else if (r["op"] == "PlayMidi" && !r["arg"].empty()) log.push_back("play " + r["arg"]);
  }
  return log;
}

}  // namespace testing_support
