#pragma once
// How loud the music and the effects play, each in percent of full, as the
// reader sets them (--music-volume, --effects-volume). At 0 nothing of that
// kind is made at all: no SoundFont is loaded and no tune synthesised, or no
// effect decoded.
namespace sound {

struct Levels {
  int music = 100;
  int effects = 100;
};

}  // namespace sound
