#pragma once

// Small integer result of the storage and look-up operations.
enum LookupResult : int {
    kResultOk = 0,                 // also: nothing to look up, already open
    kResultHeaderCannotOpen = 1,
    kResultLetterCannotOpen = 3,
    kResultLetterCannotWrite = 4,
    kResultNoDictionary = 5,
    kResultNotFound = 6,
    // The letter file is there but could not be read whole (a read error,
    // too large to hold, no memory): nothing of it is loaded. The look-up
    // answers it as kResultLetterCannotOpen; editing refuses to change it.
    kResultLetterCannotRead = 7,
};
