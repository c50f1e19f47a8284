// Controls of the headless platform: what the tests and the command-line
// tool use to play the user's part and to read what the window would show.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/platform.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned style;
};

struct ShownMenu {
    int buttonPosition;
    std::vector<MenuItemSpec> items;
};

struct HeadlessState {
    std::string wordEdit;
    int selectionStart = 0;
    int selectionEnd = 0;
    std::string descriptionEdit;
    int descriptionLineCount = 1;   // set by tests; the real edit wraps
    std::string title;
    bool hidden = false;
    bool wordEditFocused = false;
    int windowLeft = 0, windowTop = 0, windowRight = 0, windowBottom = 0;
    bool windowNormal = false;

    std::vector<ShownMessage> messages;
    std::deque<int> messageAnswers;   // answers in turn; kAnswerOk/kAnswerNo when empty
    std::vector<ShownMenu> menus;
    std::deque<int> menuAnswers;      // chosen ids in turn; 0 when empty

    // Toolbar button states by command id; absent = never touched (enabled).
    std::vector<std::pair<int, bool>> toolbar;
    bool findButtonEnabled = true;
    int wordEditChanges = 0;          // change notifications raised
    // The list dialogs (similar words, all dictionaries): the lines each one
    // showed, in the list's sorted order, and the line the user picks in
    // each, by position; -1 (also when empty) closes it.
    std::vector<std::vector<std::string>> listDialogs;
    std::deque<int> listChoices;
};

HeadlessState& Headless();
void ResetHeadless();
bool HeadlessToolbarEnabled(int command);

// The user types into an edit: its text becomes `text` (the caret at its
// end) and the change handler runs as for typing, so the word edit may be
// auto-completed. LastKey, which the keyboard sets, is left to the test.
void HeadlessTypeWord(const char* text);
void HeadlessTypeDescription(const char* text);
// The user presses Delete in the word edit: the selection (or the character
// after the caret) goes, and the change is not auto-completed.
void HeadlessPressDeleteInWordEdit();
