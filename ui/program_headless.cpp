#include "ui/program_headless.h"

#include "platform/headless.h"
#include "ui/edit_state.h"
#include "ui/program_state.h"

// What MainWindowProc and the word edit's key handling do with the same
// events on the real window.
static void HeadlessMainWindowProcedure(HeadlessEvent event, int controlId) {
    switch (event) {
    case HeadlessEvent::EditChanged: OnEditChange(controlId); break;
    case HeadlessEvent::DeleteKeyPressed: OnWordEditDeleteKey(); break;
    }
}

void StartHeadlessProgram() {
    ResetHeadless();
    ResetProgramState();
    HeadlessCreateMainWindow(HeadlessMainWindowProcedure);
}
