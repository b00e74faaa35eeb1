#pragma once
// That the program has been asked to end (a signal, the desktop's quit),
// for the waits on the main thread that cannot go back to the event loop
// first: the picture decoder's answer. Any thread may ask, at any time, even
// from a signal's thread; once asked, for good.
namespace rt {

void AskToQuit();
bool QuitAsked();
// A descriptor that polls readable once the quit is asked (-1 if the system
// gives none: then only QuitAsked tells).
int QuitFd();

}  // namespace rt
