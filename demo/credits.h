#pragma once
namespace Module1 {
// The closing credits: turns the main window into a staff screen and plays the
// closing tune; ends the process when the tune stops. Returns at once, leaving
// the window up, when the tune does not play at all.
void ClosingCredits();
}
