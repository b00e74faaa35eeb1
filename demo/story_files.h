#pragma once
// The files the program reads by fixed names from the story folder (the
// script names the rest: its tunes and scene pictures).
inline constexpr char kScriptFile[] = "Rodevez2E.dat";
inline constexpr char kIntroTune[] = "Zirev.mid";
inline constexpr char kStoryTune[] = "enka.mid";
inline constexpr char kClosingTune[] = "lmb.mid";
inline constexpr char kIntroEffect[] = "vmdemo3.WAV";
