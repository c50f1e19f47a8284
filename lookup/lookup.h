#pragma once

#include <cstdint>
#include <string>

#include "storage/lookup_result.h"
#include "ui/edit_state.h"

// Retry without a final S when the caller passes -1.
constexpr int PluralRetryDefault = 1;

// Looks up the word in the word edit and shows its description.
int LookupWord(int clearOnFailure, int pluralRetry);

// Formats the description that starts at `offset` in the letter buffer
// (joining the continuation entries after it) into the description edit.
void ShowDescription(int32_t offset);
// The text ShowDescription would show, without showing it.
std::string FormatDescription(int32_t offset);
// Inserts `text` in front of `destination`; the caller guarantees the room.
void InsertText(char* destination, const char* text);
