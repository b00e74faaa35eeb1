#include "demo/waiting_for_reader.h"

namespace Module1 {
rt::Boolean WaitingForReader = rt::False;
bool ReaderGoesBack = false;
}
