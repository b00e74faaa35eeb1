#pragma once
// A trace for tests and script authors: when RADADED_TRACE names a file, one
// JSON object per line is appended to it and flushed at once, each with "ms"
// (milliseconds since the start, from the toolkit's clock) and "ev".
#include <string>
#include <string_view>

namespace rt {

class Clock;

namespace trace {

// Opens the trace file (appending); an empty or null path turns tracing off.
// A file that cannot be opened is said once on standard error.
void Open(const char* path, const Clock& clock);
void Close();

void Show(std::string_view form);
void Unload(std::string_view form);
// "value" as a JSON string, a number or a Boolean.
void SetText(std::string_view form, std::string_view control, std::string_view prop, std::string_view value);
void SetNumber(std::string_view form, std::string_view control, std::string_view prop, double value);
void SetBool(std::string_view form, std::string_view control, std::string_view prop, bool value);
void Sound(std::string_view op, std::string_view arg);
void Sound(std::string_view op);
void Input(std::string_view kind, std::string_view control = {});
// The process ends, with this exit status: the last line of a trace.
void End(int status);
void Error(int number, std::string_view description, std::string_view where);

// JSON string literal of UTF-8 text (quotes included).
std::string Quote(std::string_view text);

}  // namespace trace
}  // namespace rt
