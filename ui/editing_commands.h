// Adding and deleting entries of the open dictionary from the two edits,
// with their questions and messages.
#pragma once

// Whether the user is asked first (replacing a word, deleting one).
enum class Confirmation { Ask, DontAsk };

// Stores the word edit's word (its outer blanks trimmed) with the
// description edit's text: a word that is there is replaced, after the
// question when asked. 1 when it was stored or the user kept the old entry;
// 0 after a message, with the edits as the user left them.
int AddEntry(Confirmation confirm);
// The Add command: AddEntry with the question, then in a dual dictionary
// the reverse entry of a one-line description.
void AddWordCommand();
// The Delete command: removes the entry of the word edit's word and shows a
// neighbour.
void DeleteEntry(Confirmation confirm);
