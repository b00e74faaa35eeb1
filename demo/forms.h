#pragma once
// The system's windows, each created on first use and kept for the process;
// the intro's window gets its timeline here.
class Form1;
class VmDemo;

namespace Forms {
::Form1& Form1();
::VmDemo& VmDemo();
}
