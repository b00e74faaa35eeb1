// Game controllers: one plugged in while the program runs is opened, and a
// button released (not pressed) is a key released in the window shown; the
// watcher that wakes the event loop for them says so for a device folder's
// changes and a device's input, and not again for input it has read.
#include <gtest/gtest.h>

#include <SDL.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/sdl/device_watcher.h"
#include "platform/sdl/sdl_platform.h"

namespace {

using namespace std::chrono_literals;

TEST(GameController, AButtonReleasedIsAKeyReleased) {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  tk::SdlPlatform platform;
  auto window = platform.CreateHostWindow({"t", 20, 10, false, {}});
  window->Show();
  tk::Event event;
  platform.WaitEvent(event, 0);  // the controllers start at the first wait
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  ASSERT_TRUE(joystick);
  while (platform.PollEvent(event)) {}  // the platform hears of it and opens it
  struct Step {
    int button, down;
    bool key_up;
  } const steps[] = {{SDL_CONTROLLER_BUTTON_A, 1, false}, {SDL_CONTROLLER_BUTTON_A, 0, true},
                     {SDL_CONTROLLER_BUTTON_START, 1, false}, {SDL_CONTROLLER_BUTTON_START, 0, true}};
  for (const Step& s : steps) {
    SDL_JoystickSetVirtualButton(joystick, s.button, static_cast<Uint8>(s.down));
    SDL_JoystickUpdate();  // as the watcher's news has the platform do
    int key_ups = 0;
    while (platform.PollEvent(event))
      if (event.type == tk::Event::Type::kKeyUp) {
        ++key_ups;
        EXPECT_EQ(event.window, window->id());
      }
    EXPECT_EQ(key_ups, s.key_up ? 1 : 0) << "button " << s.button << (s.down ? " pressed" : " released");
  }
  SDL_JoystickClose(joystick);
  SDL_JoystickDetachVirtual(index);
  while (platform.PollEvent(event)) {}
}

TEST(DeviceWatcher, SaysSoForAChangedFolderAndForInput) {
  const auto folder = std::filesystem::temp_directory_path() / ("watch-" + std::to_string(::getpid()));
  const auto input = folder / "input";  // not there at first: waited for in the folder above
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory(folder);
  std::atomic<int> news = 0;
  tk::DeviceWatcher watcher(input.string(), [&] { ++news; });
  auto wait_for_news = [&](int before) {
    for (int i = 0; i < 200 && news == before; ++i) std::this_thread::sleep_for(5ms);
    return news > before;
  };
  std::this_thread::sleep_for(50ms);
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
  ::close(writer);
  std::filesystem::remove_all(folder);
}

}  // namespace
