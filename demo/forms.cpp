#include "demo/forms.h"

#include "demo/form1.h"
#include "demo/intro_timeline.h"
#include "demo/vm_demo.h"

namespace Forms {

::Form1& Form1() {
  static ::Form1 form;
  return form;
}

::VmDemo& VmDemo() {
  static ::VmDemo form(IntroTick);
  return form;
}

}  // namespace Forms
