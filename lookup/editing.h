// Adding and deleting entries of the open dictionary.
#pragma once

int AddEntry(int ask);
void AddWordCommand();
void DeleteEntry(int ask);
