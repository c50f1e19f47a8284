#include "platform/window_state_win32.h"

WindowStateRecord WindowState;
