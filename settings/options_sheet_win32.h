// The options property sheet: the General page edits the settings and the
// start-with-Windows entry, the About page shows the version and runs the
// new-version check.
#pragma once

enum class OptionsPage { General, About };

// Runs the sheet from the page given. Applying the General page stores the
// settings and shows them on the window at once.
void ShowOptionsSheet(OptionsPage startPage);
