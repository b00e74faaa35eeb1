#include "demo/waiting_for_reader.h"

#include "demo/auto_turn.h"
#include "demo/read_aloud.h"
#include "toolkit/toolkit.h"

namespace Module1 {
tk::Boolean WaitingForReader = tk::False;

bool WaitForReader(std::string_view speaker, std::string_view page, const std::function<bool()>& stop) {
  if (WaitingForReader == tk::False) return false;
  AutoTurn::PageShown(page);
  ReadAloud::Page(speaker, page);
  bool stopped = false;
  while (WaitingForReader != tk::False && !stopped) {
    tk::Toolkit::Get().DoEvents();
    stopped = WaitingForReader != tk::False && stop && stop();
  }
  AutoTurn::PageTurned();
  ReadAloud::Stop();
  return stopped;
}
}  // namespace Module1
