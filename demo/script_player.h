#pragma once
// The script player: shows the main window and plays the story script page
// by page, waiting for the reader to turn each page and carrying out the
// music, picture and speaker commands between pages. Where it starts, and
// whether it builds the page again when the story's files change, is the
// start the session wired (services.h).
namespace Module1 {

// Returns when the script is exhausted; raises the run-time error of any
// failing operation, naming the script line.
void PlayScript();

}  // namespace Module1
