#include "tools/edit_commands.h"

#include <ostream>

#include "maintenance/codepage.h"
#include "platform/files.h"
#include "platform/headless.h"
#include "storage/dictionary_format.h"
#include "storage/dictionary_state.h"
#include "ui/editing_commands.h"
#include "ui/lookup_command.h"

static const char kProgram[] = "dictionary-tool";

// A description typed in the window holds CR LF line breaks.
static std::string WindowLineBreaks(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

static int LineCount(const std::string& text) {
    int lines = 1;
    for (char c : text) lines += c == '\n';
    return lines;
}

// The error boxes the operation showed, as messages; true when there was one.
static bool ReportErrors(std::ostream& err) {
    bool any = false;
    for (const ShownMessage& shown : Headless().messages)
        if (shown.caption == "Error") {
            err << kProgram << ": " << Cp1251ToUtf8(shown.text) << kToolLineEnd;
            any = true;
        }
    return any;
}

static bool WasAsked(const char* question) {
    for (const ShownMessage& shown : Headless().messages)
        if (shown.text == question) return true;
    return false;
}

// Parses the options and converts the operands; kExitOk or the exit status.
static int Prepare(const std::vector<std::string>& args, const std::vector<ToolOption>& known, size_t operands,
                   const char* usage, ToolOptions& options, std::vector<std::string>& words, ToolStreams& io) {
    if (!ParseToolOptions(args, known, options, io.err)) return kExitUsage;
    if (options.operands.size() != operands) {
        io.err << kProgram << ": usage: " << kProgram << " " << usage << kToolLineEnd;
        return kExitUsage;
    }
    words.resize(operands);
    for (size_t i = 0; i < operands; ++i)
        if (!ToolArgumentToCp1251(options.operands[i], words[i], io.err)) return kExitUsage;
    ResetToolState();
    return OpenToolDictionary(options.Value("--dict", kDefaultToolDictionary), io.err);
}

int AddCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    std::vector<std::string> words;
    int status = Prepare(args, {{"--dict", true}, {"--replace", false}}, 2,
                         "add [--dict FOLDER] [--replace] WORD DESCRIPTION", options, words, io);
    if (status != kExitOk) return status;
    const std::string description = WindowLineBreaks(words[1]);
    HeadlessTypeWord(words[0].c_str());
    HeadlessTypeDescription(description.c_str());
    Headless().descriptionLineCount = LineCount(description);
    Headless().messageAnswers = {options.Has("--replace") ? kAnswerYes : kAnswerNo};
    AddWordCommand();

    if (ReportErrors(io.err)) return kExitNotChanged;
    if (!options.Has("--replace") && WasAsked("This word is already in dictionary! Replace it?")) {
        io.err << kProgram << ": '" << options.operands[0]
               << "' is already in the dictionary; --replace replaces it" << kToolLineEnd;
        return kExitNotChanged;
    }
    return kExitOk;
}

int DeleteCommand(const std::vector<std::string>& args, ToolStreams& io) {
    ToolOptions options;
    std::vector<std::string> words;
    int status = Prepare(args, {{"--dict", true}}, 1, "delete [--dict FOLDER] WORD", options, words, io);
    if (status != kExitOk) return status;
    // As in the window: the word is found first, then deleted.
    HeadlessTypeWord(words[0].c_str());
    int found = LookupWord(MissedDescription::Clear, PluralRetry::Off);
    if (unsigned char letter = LetterLookupCouldNotRead()) {
        io.err << kProgram << ": Could not read the dictionary file '"
               << Cp1251ToUtf8(PlatformShownPath(LetterPath(CurrentDictionary.Folder, letter)))
               << "'. Nothing was changed." << kToolLineEnd;
        return kExitNotChanged;
    }
    if (found != kResultOk) {
        io.err << options.operands[0] << ": not found" << kToolLineEnd;
        return kExitNotFound;
    }
    Headless().messageAnswers = {kAnswerYes};
    DeleteEntry(Confirmation::Ask);
    if (ReportErrors(io.err)) return kExitNotChanged;
    return kExitOk;
}
