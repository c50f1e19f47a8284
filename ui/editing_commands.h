// Adding and deleting entries of the window's dictionary from the two
// edits: the rules of lookup/entry_edits.h, with the window's questions,
// messages and edits.
#pragma once

// Whether the user is asked first (replacing a word, deleting one).
enum class Confirmation { Ask, DontAsk };

// Stores the word edit's word with the description edit's text
// (AddEntry, lookup/entry_edits.h): a word that is there is replaced, after
// the question when asked. True when it was stored or the user kept the old
// entry; false after a message, with the edits as the user left them.
bool StoreEditsEntry(Confirmation confirm);
// The Add command: StoreEditsEntry with the question, then in a dual
// dictionary the reverse entry of a one-line description.
void AddWordCommand();
// The Delete command: removes the entry of the word edit's word and shows a
// neighbour.
void DeleteWordCommand(Confirmation confirm);
