#pragma once
// The story's speakers: number 0 is nobody; 1 to kLastSpeaker each have a
// portrait (Form1's portrait store) and a name (the script player's table).
inline constexpr int kLastSpeaker = 8;

// Whether "#ICON" may name the number: any other has no portrait to show.
constexpr bool IsSpeaker(int number) { return number >= 0 && number <= kLastSpeaker; }
