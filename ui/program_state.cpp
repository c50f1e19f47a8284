#include "ui/program_state.h"

#include "lookup/history.h"
#include "lookup/word_counts.h"
#include "lookup/word_forms.h"
#include "settings/settings.h"
#include "storage/dictionary_state.h"
#include "ui/edit_state.h"

void ResetProgramState() {
    ResetDictionaryState();
    ResetHistory();
    ForgetWordFormsTables();
    ForgetFormsWordCounts();
    ResetEditState();
    ResetSettings();
}
