// The speech helper: what the program reads aloud arrives on standard input
// and goes to speech-dispatcher. Started by the program for --speak.
#include "speech/speech_process.h"

int main() { return speech::RunSpeechHelper(0); }
