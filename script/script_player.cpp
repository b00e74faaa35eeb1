#include "script_player.h"

#include "form1.h"
#include "forms.h"

namespace Module1 {

void PlayScript() { Forms::Form1().Show(); }

}  // namespace Module1
