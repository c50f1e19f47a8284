// The options property sheet: the General page edits the settings and the
// start-with-Windows entry, the About page shows the version and runs the
// new-version check.
#pragma once

enum class OptionsPage { General, About };

// Runs the sheet from the page given. True when its General page was
// applied: the settings changed and are saved, and the window still has to
// show them (tray icon, toolbar style, topmost, hot key).
bool ShowOptionsSheet(OptionsPage startPage);
