#include "process_state.h"

InstanceHandle gInstance = nullptr;
const char* gCommandTail = nullptr;
ResultList gResultList = nullptr;
WindowHandle gLinkControl = nullptr;
SortState gSortState = kInitialSortState;
