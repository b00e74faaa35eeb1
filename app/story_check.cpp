#include "app/story_check.h"

#include <string>

#include "demo/story_files.h"
#include "platform/sdl/form_renderer.h"

namespace app {

script::CheckResult CheckStory() {
  tk::FormRenderer renderer;
  return script::CheckStory([&](const tk::Label& label) { return renderer.CaptionFits(label); });
}

int PrintCheck(const script::CheckResult& result, std::FILE* out) {
  long errors = 0, warnings = 0;
  for (const script::Finding& f : result.findings) {
    std::string place = f.file;
    if (f.line > 0) place.append(":").append(std::to_string(f.line));
    if (f.line > 0 && f.column > 0) place.append(":").append(std::to_string(f.column));
    std::fprintf(out, "%s: %s: %s\n", place.c_str(), f.error ? "error" : "warning", f.text.c_str());
    ++(f.error ? errors : warnings);
  }
  const auto count = [](long n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
  };
  std::fprintf(out, "%s: %s, %s, %s\n", kScriptFile, count(result.pages, "page").c_str(),
               count(errors, "error").c_str(), count(warnings, "warning").c_str());
  return errors > 0 ? 1 : 0;
}

}  // namespace app
