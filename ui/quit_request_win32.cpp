#include "ui/quit_request_win32.h"

#include "res/resource.h"

bool IsQuitRequest(UINT message) {
    // Registered once; every process that registers the name gets the same number.
    static const UINT quitRequest = RegisterWindowMessageA(QUIT_REQUEST_MESSAGE);
    return quitRequest != 0 && message == quitRequest;
}
