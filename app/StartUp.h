#pragma once
// The desktop program's start-up sequence, from the splash window to the
// message loop.
int runTarvane(int argc, char** argv);
