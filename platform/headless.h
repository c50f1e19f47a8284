// Controls of the headless platform: what the tests and the command-line
// tool use to play the user's part and to read what the window would show.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/dictionary_fonts.h"
#include "platform/list_dialogs.h"
#include "platform/window.h"

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned style;
    std::u32string named;   // shown in turn for the text's kUnheldByte
};

struct ShownMenu {
    int buttonCommand;
    std::vector<MenuItemSpec> items;
};

// What the main window and its subclassed word edit are told: an edit's
// change notification (EN_CHANGE, with the edit's control id) and the
// Delete key pressed in the word edit.
enum class HeadlessEvent { EditChanged, DeleteKeyPressed };
using HeadlessWindowProcedure = void (*)(HeadlessEvent event, int controlId);

struct HeadlessState {
    // The "window procedure" of the main window: whoever creates the window
    // registers it, and the edits' events are delivered to it.
    HeadlessWindowProcedure procedure = nullptr;

    std::string wordEdit;
    int selectionStart = 0;
    int selectionEnd = 0;
    std::string descriptionEdit;
    // The first character typed into each edit that code page 1251 cannot
    // hold (it stands in the text as kUnheldByte); 0: none. Text written in
    // the code page clears it.
    char32_t wordEditUnheld = 0;
    char32_t descriptionEditUnheld = 0;
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
    // What the window handles while a menu is up (a pop-up menu disables
    // no window: a clipboard look-up, say); run once, by the next menu.
    std::function<void()> whileMenuIsUp;

    // Toolbar button states by command id; absent = never touched (enabled).
    std::vector<std::pair<int, bool>> toolbar;
    bool findButtonEnabled = true;
    int wordEditChanges = 0;          // change notifications raised
    // The list dialogs (similar words, all dictionaries): the lines each one
    // showed, in order, headings included, and the line the user picks in
    // each, by position (a heading gives way to the word after it); -1
    // (also when empty) closes it.
    std::vector<std::vector<std::string>> listDialogs;
    std::deque<int> listChoices;
    // The dictionary fonts last given to the edits, and how often.
    FontRecord wordFont{};
    FontRecord descriptionFont{};
    int fontChanges = 0;
};

HeadlessState& Headless();
// Everything back to its start, no main window.
void ResetHeadless();
// "Creates" the main window with its window procedure.
void HeadlessCreateMainWindow(HeadlessWindowProcedure procedure);
bool HeadlessToolbarEnabled(int command);

// The user types into an edit: its text becomes `text` (the caret at its
// end) and the change notification is raised as for typing, so the word
// edit may be auto-completed. The last key, which the keyboard sets, is
// left to the caller.
void HeadlessTypeWord(const char* text);
void HeadlessTypeDescription(const char* text);
// The same with Unicode text, converted as the real edits' text is: what the
// code page cannot hold comes as kUnheldByte (platform/cp1251.h).
void HeadlessTypeWordUtf16(const std::u16string& text);
void HeadlessTypeDescriptionUtf16(const std::u16string& text);
// The user presses Delete in the word edit: the key reaches the window
// procedure, then the selection (or the character after the caret) goes.
void HeadlessPressDeleteInWordEdit();
