// The program on the headless platform (platform/headless.h), for the
// command-line tool, the tests and the benchmarks.
#pragma once

// Every record at its start and a fresh headless main window whose window
// procedure delivers its edits' events to the program.
void StartHeadlessProgram();
