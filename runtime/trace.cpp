#include "runtime/trace.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include <sys/types.h>
#include <unistd.h>

#include "runtime/clock.h"
#include "runtime/notice.h"

namespace rt::trace {
namespace {

std::FILE* g_file = nullptr;
const Clock* g_clock = nullptr;
std::string g_path;
off_t g_whole = 0;  // where the last whole record ends

void Write(const std::string& fields) {
  if (!g_file) return;
  std::string line = "{\"ms\":" + std::to_string(g_clock->NowMs()) + "," + fields + "}\n";
  if (std::fwrite(line.data(), 1, line.size(), g_file) == line.size() && std::fflush(g_file) == 0) {
    g_whole += static_cast<off_t>(line.size());
    return;
  }
  // A full disk: said once, the record cut off taken back, and no more written.
  const int error = errno;
  if (::ftruncate(::fileno(g_file), g_whole) != 0) errno = error;  // the cut record stays: nothing more to do
  std::fclose(g_file);
  g_file = nullptr;
  Notice("cannot write the trace to '%s' any more: %s", g_path.c_str(), std::strerror(error));
}

std::string Field(std::string_view key, std::string_view value) { return Quote(key) + ":" + Quote(value); }

std::string SetPrefix(std::string_view form, std::string_view control, std::string_view prop) {
  std::string s = Field("ev", "set") + "," + Field("form", form);
  if (!control.empty()) s += "," + Field("control", control);
  return s + "," + Field("prop", prop) + ",\"value\":";
}

}  // namespace

void Open(const char* path, const Clock& clock) {
  Close();
  g_clock = &clock;
  if (!path || !*path) return;
  g_file = std::fopen(path, "ab");
  if (!g_file) {
    Notice("cannot write the trace to '%s': %s", path, std::strerror(errno));
    return;
  }
  g_path = path;
  std::fseek(g_file, 0, SEEK_END);
  g_whole = ::ftello(g_file);
}

void Close() {
  if (g_file) std::fclose(g_file);
  g_file = nullptr;
}


std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

void Show(std::string_view form) { Write(Field("ev", "show") + "," + Field("form", form)); }
void Unload(std::string_view form) { Write(Field("ev", "unload") + "," + Field("form", form)); }

void SetText(std::string_view form, std::string_view control, std::string_view prop, std::string_view value) {
  if (g_file) Write(SetPrefix(form, control, prop) + Quote(value));
}

void SetNumber(std::string_view form, std::string_view control, std::string_view prop, double value) {
  if (!g_file) return;
  char buf[32];
  if (value == std::floor(value) && std::fabs(value) < 1e15)
    std::snprintf(buf, sizeof buf, "%.0f", value);
  else
    std::snprintf(buf, sizeof buf, "%.9g", value);
  Write(SetPrefix(form, control, prop) + buf);
}

void SetBool(std::string_view form, std::string_view control, std::string_view prop, bool value) {
  if (g_file) Write(SetPrefix(form, control, prop) + (value ? "true" : "false"));
}

void Sound(std::string_view op, std::string_view arg) {
  Write(Field("ev", "sound") + "," + Field("op", op) + "," + Field("arg", arg));
}
void Sound(std::string_view op) { Write(Field("ev", "sound") + "," + Field("op", op)); }

void Input(std::string_view kind, std::string_view control) {
  std::string s = Field("ev", "input") + "," + Field("kind", kind);
  if (!control.empty()) s += "," + Field("control", control);
  Write(s);
}

void End(int status) { Write(Field("ev", "end") + ",\"status\":" + std::to_string(status)); }

void Error(int number, std::string_view description, std::string_view where) {
  Write(Field("ev", "error") + ",\"number\":" + std::to_string(number) + "," + Field("description", description) +
        "," + Field("where", where));
}

}  // namespace rt::trace
