#include "demo/story_start.h"

namespace Module1 {
StoryStart Start;
}
