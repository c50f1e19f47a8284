// The program's state, layer by layer, back to its start: storage (the
// open dictionary, the catalogue, the held letter), the history, the edit
// state and the settings. The program, the tool, the tests, the fuzz case
// and the benchmarks all start from here.
#pragma once

void ResetProgramState();
