#pragma once

// Fetches the update information from the project site and tells the user
// whether a newer release exists, offering the project page. Blocks the
// user-interface thread until the request ends or times out.
void CheckForNewVersion();
