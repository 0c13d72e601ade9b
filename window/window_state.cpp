#include "decoder.h"

HINSTANCE gInstance = nullptr;
const char* gCommandTail = nullptr;
HWND gLinkControl = nullptr;
HMENU gListMenu = nullptr;
