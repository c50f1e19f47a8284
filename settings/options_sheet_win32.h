// The options property sheet: the General page edits the settings and the
// start-with-Windows entry, the About page shows the version and runs the
// new-version check.
#pragma once

#include "settings/settings.h"
#include "storage/catalog.h"

enum class OptionsPage { General, About };

// Runs the sheet from the page given. Applying the General page stores
// `settings` and shows them on the window at once; the start dictionary is
// chosen from `catalog`.
void ShowOptionsSheet(OptionsPage startPage, SettingsRecord& settings, const CatalogRecord& catalog);
