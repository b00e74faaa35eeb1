#pragma once
// What the session hands down to the program, in one place: the music
// device, the effect player, the speech, the text hook, where the story starts and what
// watches it, and whether pages turn by themselves. Until a Wiring puts them
// in place, and again once it ends, the program is silent, starts with the
// intro and waits for the reader on every page.
#include <atomic>

#include "demo/story_start.h"

namespace sound {
class EffectPlayer;
class MidiDevice;
}  // namespace sound

namespace speech {
class Speech;
}

namespace TextHook {
class Sink;
}

namespace Module1 {

// Where the reader is, as the script player tells it to the session, which
// keeps it for the next start (--resume), also from the thread that finds
// the display lost.
struct ReaderPlace {
  std::atomic<long> line = 0;       // the first line of the page showing; 0 before the first
  std::atomic<bool> ended = false;  // the script has ended: the staff screen
};

struct Services {
  sound::MidiDevice* midi = nullptr;       // nothing: the music is silent
  sound::EffectPlayer* effects = nullptr;  // nothing: so are the effects
  speech::Speech* speech = nullptr;        // nothing: no page is read aloud
  TextHook::Sink* text_hook = nullptr;     // nothing: the pages go nowhere else
  ReaderPlace* place = nullptr;            // nothing: where the reader is goes unsaid
  StoryStart start;
  // Pages that turn by themselves (--auto): below 0 never, 0 after each
  // page's reading time, otherwise after that many milliseconds.
  int auto_turn_ms = -1;
};

// The services in use.
const Services& Wired();

// Puts the services in place for as long as it lives. Its end is the one
// teardown: nothing reaches what they point to afterwards.
class Wiring {
 public:
  explicit Wiring(const Services& services);
  ~Wiring();
  Wiring(const Wiring&) = delete;
  Wiring& operator=(const Wiring&) = delete;
};

}  // namespace Module1
