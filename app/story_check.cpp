#include "app/story_check.h"

#include <string>
#include <system_error>

#include "demo/story_files.h"
#include "platform/sdl/form_renderer.h"
#include "runtime/notice.h"
#include "toolkit/inotify_watcher.h"

namespace app {

script::CheckResult CheckStory() {
  sdl::FormRenderer renderer;
  return script::CheckStory([&](const tk::Label& label) { return renderer.CaptionFits(label); });
}

void PrintFinding(const script::Finding& f, std::FILE* out) {
  std::string place = f.file;
  if (f.line > 0) place.append(":").append(std::to_string(f.line));
  if (f.line > 0 && f.column > 0) place.append(":").append(std::to_string(f.column));
  std::fprintf(out, "%s: %s: %s\n", place.c_str(), f.error ? "error" : "warning", f.text.c_str());
}

int PrintCheck(const script::CheckResult& result, std::FILE* out) {
  long errors = 0, warnings = 0;
  for (const script::Finding& f : result.findings) {
    PrintFinding(f, out);
    ++(f.error ? errors : warnings);
  }
  const auto count = [](long n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  std::fprintf(out, "%s: %s, %s, %s\n", kScriptFile, count(result.pages, "page").c_str(),
               count(errors, "error").c_str(), count(warnings, "warning").c_str());
  return errors > 0 ? 1 : 0;
}

std::unique_ptr<script::StoryWatcher> WatchStory() {
  std::unique_ptr<tk::FileWatcher> files;
  try {
    files = std::make_unique<tk::InotifyWatcher>();
  } catch (const std::system_error& e) {
    rt::Notice("cannot watch the story's files (%s): changes are not picked up", e.what());
    return nullptr;
  }
  auto renderer = std::make_shared<sdl::FormRenderer>();
  return std::make_unique<script::StoryWatcher>(
      std::move(files), [renderer](const tk::Label& label) { return renderer->CaptionFits(label); },
      [](const script::CheckResult& result) {
        PrintCheck(result, stderr);
        std::fflush(stderr);
      });
}

}  // namespace app
