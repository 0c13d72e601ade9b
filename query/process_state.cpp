#include "process_state.h"

ResultList gResultList = nullptr;
SortState gSortState = kInitialSortState;
