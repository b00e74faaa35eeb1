#pragma once
// Pages that turn by themselves: once turned on, each page the reader is
// shown turns after its reading time, by the main window's page timer, unless
// a key release or a click turns it first. Off at start.
#include <string_view>

namespace AutoTurn {

// Every page after `fixed_ms`, or, with 0, after its own reading time.
void TurnOn(int fixed_ms = 0);
void TurnOff();

// How long a page of Japanese text (UTF-8) takes to read at a leisurely
// pace: two seconds to take in the picture, then 125 ms a character (480 a
// minute), line ends and blanks not counted.
int ReadingTimeMs(std::string_view page);

// The script player's wait on a page: the timer is armed when it is shown and
// stopped when it is turned, whoever turned it.
void PageShown(std::string_view page);
void PageTurned();
// The page timer's tick: the page turns.
void Due();

}  // namespace AutoTurn
