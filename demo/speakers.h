#pragma once
// The story's speakers: number 0 is nobody; 1 to kLastSpeaker each have a
// portrait (Form1's portrait store) and a name (the script player's table).
inline constexpr int kLastSpeaker = 8;
