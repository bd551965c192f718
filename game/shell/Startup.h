#pragma once

// The program: start-up in its fixed order, then the main pump; the program ends through
// ShutdownProgram. Returns only when another copy already runs (that copy has been asked to
// restore and raise its window).
int RunProgram();
