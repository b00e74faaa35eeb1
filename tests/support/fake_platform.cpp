#include "support/fake_platform.h"

#include <algorithm>

namespace testing_support {

void FakePlatform::Post(tk::Event event, std::int64_t at) {
  if (at < 0) at = clock.NowMs();
  auto it = std::upper_bound(queue_.begin(), queue_.end(), at, [](std::int64_t t, const Pending& p) { return t < p.at; });
  queue_.insert(it, Pending{at, event});
}

void FakePlatform::KeyUp(std::uint32_t window, std::int64_t at, int key, int shift) {
  Post({.type = tk::Event::Type::kKeyUp, .window = window, .key = key, .shift = shift}, at);
}

void FakePlatform::Click(std::uint32_t window, int x, int y, int clicks, std::int64_t at) {
  Post({.type = tk::Event::Type::kMouseDown, .window = window, .x = x, .y = y, .clicks = clicks}, at);
  Post({.type = tk::Event::Type::kMouseUp, .window = window, .x = x, .y = y, .clicks = clicks}, at);
}

std::unique_ptr<tk::HostWindow> FakePlatform::CreateHostWindow(const tk::WindowSpec& design) {
  auto w = std::make_unique<FakeWindow>(*this, design, next_id_++);
  w->x = (screen_width - design.client_width) / 2;
  w->y = (screen_height - design.client_height) / 2;
  windows.push_back(w.get());
  return w;
}

bool FakePlatform::PollEvent(tk::Event& event) {
  if (queue_.empty() || queue_.front().at > clock.NowMs()) return false;
  event = queue_.front().event;
  queue_.pop_front();
  if (event.window == 0 && !windows.empty()) event.window = windows.back()->id();
  return true;
}

bool FakePlatform::WaitEvent(tk::Event& event, int timeout_ms) {
  waits.push_back(timeout_ms);
  if (on_wait) on_wait();
  const std::int64_t now = clock.NowMs();
  if (!queue_.empty() && (timeout_ms < 0 || queue_.front().at <= now + timeout_ms)) {
    clock.Set(std::max(now, queue_.front().at));
    return PollEvent(event);
  }
  if (timeout_ms < 0) throw std::runtime_error("the program would wait for ever: no timer and no input");
  clock.Advance(timeout_ms);
  return false;
}

FakeWindow::~FakeWindow() {
  auto& w = owner_.windows;
  w.erase(std::remove(w.begin(), w.end(), this), w.end());
}

void FakeWindow::Paint(const tk::Form& form) {
  if (owner_.on_paint) owner_.on_paint(form);
}

}  // namespace testing_support
