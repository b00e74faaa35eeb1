#pragma once
// Where the story starts and what watches it, as the command line asks: one
// of the services the session wires (services.h), read by the start-up
// procedure and the script player.
namespace script {
class StoryWatcher;
}

namespace Module1 {

struct StoryStart {
  // 0: the intro, then the script from its top. Otherwise no intro, and the
  // first page shown is the one that holds this line (from 1), with every
  // command before it carried out.
  long line = 0;
  // While a page waits for the reader, what says that the story's files
  // changed and the page is to be built again; nothing when not watching.
  script::StoryWatcher* watch = nullptr;
};

}  // namespace Module1
