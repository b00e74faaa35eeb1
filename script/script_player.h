#pragma once
// The script player: shows the main window and plays the story script.
namespace Module1 {
void PlayScript();
}
