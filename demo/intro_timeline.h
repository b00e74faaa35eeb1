#pragma once
// The intro's 46-tick timeline, run by VmDemo's timer: a sound effect, the
// logo revealed in three steps, the character flying in and landing in two
// poses, a hold of three seconds, and the end of the intro.
class VmDemo;

void IntroTick(VmDemo& form);
