#include "demo/waiting_for_reader.h"

namespace Module1 {
tk::Boolean WaitingForReader = tk::False;
}
