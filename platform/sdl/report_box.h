#pragma once
// SDL shows its message box in a child process of the thread that asks for
// it, and waits for that child: ending the child closes the box.

namespace sdl {

// Ends the child that shows the box: a child of this process running this
// program's own executable, not a picture decoder or any other child.
void CloseReportBox();

}  // namespace sdl
