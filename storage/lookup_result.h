#pragma once

// Small integer result of the storage and look-up operations.
enum LookupResult : int {
    kResultOk = 0,                 // also: nothing to look up, already open
    kResultHeaderCannotOpen = 1,
    kResultLetterCannotOpen = 3,
    kResultLetterCannotWrite = 4,
    kResultNoDictionary = 5,
    kResultNotFound = 6,
};
