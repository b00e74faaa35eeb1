// Input the SDL back end takes itself: game controllers (one plugged in while
// the program runs is opened, and a button released, not pressed, is a key
// released in the window shown), the watcher that wakes the event loop for
// them (news for a device folder's changes, a device's input and its
// unplugging, and not again for input read or a device gone), and the
// shortcut keys and the wheel; and the display's scale.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/sdl/controllers.h"
#include "platform/sdl/report_box.h"
#include "platform/sdl/device_watcher.h"
#include "platform/sdl/display_scale.h"
#include "platform/sdl/shortcut_keys.h"
#include "platform/sdl/sdl_platform.h"
#include "support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

// Two controllers; after the first is unplugged, the second still works.
TEST(GameController, AButtonReleasedIsAKeyReleasedOnEveryControllerStillPluggedIn) {
  sdl::SdlPlatform platform;
  auto window = platform.CreateHostWindow({"t", 20, 10, false, {}});
  window->Show();
  tk::Event event;
  platform.WaitEvent(event, 0);  // the controllers start at the first wait
  SDL_Joystick* pads[2];
  for (SDL_Joystick*& pad : pads) {
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    ASSERT_TRUE(pad = SDL_JoystickOpen(index));
  }
  while (platform.PollEvent(event)) {}  // the platform hears of them and opens them
  const auto key_ups = [&](SDL_Joystick* pad, int button, int down) {
    SDL_JoystickSetVirtualButton(pad, button, static_cast<Uint8>(down));
    SDL_JoystickUpdate();  // as the watcher's news has the platform do
    int n = 0;
    while (platform.PollEvent(event))
      if (event.type == tk::Event::Type::kKeyUp) {
        ++n;
        EXPECT_EQ(event.window, window->id());
        EXPECT_EQ(event.key, button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER ? 33 : 0) << "PageUp's code, and no other";
      }
    return n;
  };
  for (SDL_Joystick* pad : pads)
    for (const int button : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_LEFTSHOULDER}) {
      EXPECT_EQ(key_ups(pad, button, 1), 0) << "button " << button << " pressed";
      EXPECT_EQ(key_ups(pad, button, 0), 1) << "button " << button << " released";
    }
  SDL_JoystickClose(pads[0]);
  SDL_JoystickDetachVirtual(0);
  while (platform.PollEvent(event)) {}
  EXPECT_EQ(key_ups(pads[1], SDL_CONTROLLER_BUTTON_A, 1), 0);
  EXPECT_EQ(key_ups(pads[1], SDL_CONTROLLER_BUTTON_A, 0), 1) << "the controller left plugged in";
  SDL_JoystickClose(pads[1]);
  SDL_JoystickDetachVirtual(0);
  while (platform.PollEvent(event)) {}
}

// F11 and Alt+Enter toggle, Ctrl+C copies; their releases are taken, and
// only theirs.
TEST(ShortcutKeys, TakeTheirOwnReleasesOnly) {
  using Action = sdl::ShortcutKeys::Action;
  const struct {
    Uint32 type;
    SDL_Keycode key;
    Uint16 mod;
    Action action;
  } steps[] = {
      {SDL_KEYDOWN, SDLK_F11, 0, Action::kFullScreen},        {SDL_KEYUP, SDLK_F11, 0, Action::kTake},
      {SDL_KEYUP, SDLK_F11, 0, Action::kPass},                {SDL_KEYDOWN, SDLK_LALT, KMOD_LALT, Action::kPass},
      {SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT, Action::kFullScreen}, {SDL_KEYUP, SDLK_RETURN, KMOD_LALT, Action::kTake},
      {SDL_KEYUP, SDLK_LALT, 0, Action::kTake},               {SDL_KEYDOWN, SDLK_RETURN, 0, Action::kPass},
      {SDL_KEYUP, SDLK_RETURN, 0, Action::kPass},             {SDL_KEYDOWN, SDLK_LALT, KMOD_LALT, Action::kPass},
      {SDL_KEYUP, SDLK_LALT, 0, Action::kPass},               {SDL_KEYUP, SDLK_SPACE, 0, Action::kPass},
      // Ctrl let go before C: both releases still belong to the copy.
      {SDL_KEYDOWN, SDLK_RCTRL, KMOD_RCTRL, Action::kPass},   {SDL_KEYDOWN, SDLK_c, KMOD_RCTRL, Action::kCopy},
      {SDL_KEYUP, SDLK_RCTRL, 0, Action::kTake},              {SDL_KEYUP, SDLK_c, 0, Action::kTake},
      {SDL_KEYDOWN, SDLK_c, 0, Action::kPass},                {SDL_KEYUP, SDLK_c, 0, Action::kPass},
      {SDL_KEYDOWN, SDLK_c, KMOD_LCTRL | KMOD_LALT, Action::kPass},
  };
  sdl::ShortcutKeys keys;
  int n = 0;
  for (const auto& s : steps) {
    SDL_KeyboardEvent key{};
    key.type = s.type, key.keysym.sym = s.key, key.keysym.mod = s.mod;
    EXPECT_EQ(keys.Key(key), s.action) << "step " << n++;
  }
}

// The wheel turned away from the user goes back, whichever way the system
// says the wheel turns.
TEST(MouseWheel, StepsAwayFromTheUserAreAboveZero) {
  sdl::SdlPlatform platform;
  auto window = platform.CreateHostWindow({"t", 20, 10, false, {}});
  window->Show();
  tk::Event event;
  while (platform.PollEvent(event)) {}
  for (const auto [y, direction] : {std::pair{1, SDL_MOUSEWHEEL_NORMAL}, {-2, SDL_MOUSEWHEEL_NORMAL},
                                    {1, SDL_MOUSEWHEEL_FLIPPED}}) {
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = window->id();
    wheel.wheel.y = y;
    wheel.wheel.direction = direction;
    ASSERT_EQ(SDL_PushEvent(&wheel), 1) << SDL_GetError();
  }
  std::vector<int> steps;
  for (int i = 0; i < 100 && steps.size() < 3; ++i)
    if (platform.PollEvent(event) && event.type == tk::Event::Type::kWheel) steps.push_back(event.clicks);
  EXPECT_EQ(steps, (std::vector<int>{1, -2, -1}));
}

TEST(DeviceWatcher, SaysSoForAChangedFolderAndForInput) {
  const auto folder = std::filesystem::temp_directory_path() / ("watch-" + std::to_string(::getpid()));
  const auto input = folder / "input";  // not there at first: waited for in the folder above
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory(folder);
  std::atomic<int> news = 0;
  sdl::DeviceWatcher watcher(input.string(), [&] { ++news; });
  auto wait_for_news = [&](int before) {
    for (int i = 0; i < 200 && news == before; ++i) std::this_thread::sleep_for(5ms);
    return news > before;
  };
  std::filesystem::create_directory(input);
  EXPECT_TRUE(wait_for_news(0)) << "the folder appeared";
  std::this_thread::sleep_for(400ms);  // past the first repeat
  int before = news;
  const auto device = input / "event0";
  ASSERT_EQ(::mkfifo(device.c_str(), 0600), 0);
  EXPECT_TRUE(wait_for_news(before)) << "a device plugged in";
  const int writer = ::open(device.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(writer, 0);
  watcher.Watch(device.string());
  std::this_thread::sleep_for(400ms);
  before = news;
  ASSERT_EQ(::write(writer, "button", 6), 6);
  EXPECT_TRUE(wait_for_news(before)) << "input on the device";
  std::this_thread::sleep_for(100ms);
  EXPECT_LE(news - before, 1) << "input read is news once";
  watcher.Forget(device.string());
  std::this_thread::sleep_for(50ms);
  before = news;
  ASSERT_EQ(::write(writer, "button", 6), 6);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(news, before) << "a device forgotten";
  // Unplugged (no writer left): news once, then the device is let go.
  watcher.Watch(device.string());
  std::this_thread::sleep_for(100ms);
  ::close(::open(device.c_str(), O_WRONLY | O_NONBLOCK));
  before = news;
  ::close(writer);
  EXPECT_TRUE(wait_for_news(before)) << "a device unplugged";
  std::this_thread::sleep_for(200ms);
  EXPECT_LE(news - before, 2) << "a device gone is let go";
  std::filesystem::remove_all(folder);
}

// The display's scale: the desktop's setting first, then the X resource
// desktops publish, then the screen's resolution, each to the nearest
// multiple of 96 dots per inch, between 1 and 4.
TEST(DisplayScale, FromTheDesktopTheResourcesOrTheScreen) {
  struct Case {
    const char* what;
    const char* gdk_scale;
    const char* resources;
    int width_px, width_mm;
    int scale;
  } const cases[] = {
      {"an ordinary screen of 96 dpi", nullptr, nullptr, 1024, 271, 1},
      {"Xvfb -dpi 192", nullptr, nullptr, 2048, 271, 2},
      {"a 4K laptop panel (about 280 dpi)", nullptr, nullptr, 3840, 348, 3},
      {"Xft.dpi says 192", nullptr, "Xft.antialias:\t1\nXft.dpi:\t192\n", 1024, 271, 2},
      {"Xft.dpi at the start", nullptr, "Xft.dpi:\t144\n", 1024, 271, 2},
      {"Xft.dpi 120 rounds to 1", nullptr, "Xft.dpi: 120\n", 3840, 348, 1},
      {"another resource that ends in Xft.dpi", nullptr, "Other.Xft.dpi: 384\n", 1024, 271, 1},
      {"a commented-out Xft.dpi", nullptr, "!Xft.dpi: 192\n", 1024, 271, 1},
      {"GDK_SCALE wins", "2", "Xft.dpi: 96\n", 1024, 271, 2},
      {"GDK_SCALE beyond 4", "8", nullptr, 1024, 271, 4},
      {"a GDK_SCALE of nonsense is passed over", "x", nullptr, 2048, 271, 2},
      {"nothing known", nullptr, nullptr, 0, 0, 1},
      {"a screen of 1000 dpi", nullptr, nullptr, 4000, 100, 4},
  };
  for (const auto& c : cases)
    EXPECT_EQ(sdl::DisplayScaleFrom(c.gdk_scale, c.resources, c.width_px, c.width_mm), c.scale) << c.what;
}

}  // namespace

namespace {

// Closing the error report's box ends the child that shows it (one running
// this program, as SDL forks it), not another child such as a picture helper.
TEST(ReportBox, ClosingItEndsOnlyTheBoxsOwnChild) {
  const pid_t box = ::fork();
  if (box == 0) {
    ::pause();
    ::_exit(0);
  }
  pid_t helper = 0;
  char sleep_path[] = "/bin/sleep", seconds[] = "30";
  char* argv[] = {sleep_path, seconds, nullptr};
  ASSERT_EQ(::posix_spawn(&helper, sleep_path, nullptr, nullptr, argv, environ), 0);
  sdl::CloseReportBox();
  int status = 0;
  EXPECT_EQ(::waitpid(box, &status, 0), box);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the box's child goes";
  EXPECT_EQ(::waitpid(helper, &status, WNOHANG), 0) << "another child stays";
  ::kill(helper, SIGKILL);
  ::waitpid(helper, nullptr, 0);
}

}  // namespace

namespace {

// SDL opens the input devices with a blocking open: a FIFO among them would
// hang the program for good. Controllers are then off, and SDL never looks.
TEST(GameController, OffWhenAnInputNodeIsNoDevice) {
  testing_support::TempDir dir("input");
  ASSERT_EQ(::mkfifo((dir.path() / "event0").c_str(), 0600), 0);
  testing::internal::CaptureStderr();
  sdl::Controllers controllers([] {}, dir.path().string());
  EXPECT_FALSE(controllers.ready());
  EXPECT_NE(testing::internal::GetCapturedStderr().find("event0 is no device"), std::string::npos);
}

}  // namespace
