// The process-wide state: the few values that live for the whole run. Every
// other value lives for one call.
//
//   value         set by                        read by
//   gInstance     RunDecoder                    OnInitDialog (the icon)
//   gCommandTail  RunDecoder                    OnInitDialog (seeding the fields)
//   gResultList   OnInitDialog                  RefreshResultList, SortByColumn, CompareRows,
//                                               LayoutControls
//   gLinkControl  OnInitDialog                  LayoutControls
//   gSortState    OnColumnClick, SortByColumn   SortByColumn, CompareRows
//
// The handles are null until they are set, and every operation on a null
// list or link does nothing. The tests set these values themselves to open a
// dialog or a list in memory, and reset the sort state with kInitialSortState.
#pragma once

#include "column_sort.h"
#include "list_operations.h"

// The window's handles. On Windows these are the platform's own handle types,
// declared as its headers declare them (a handle is a pointer to a struct of
// its own), so that this header needs no window-system header.
#if defined(_WIN32)
typedef struct HINSTANCE__* InstanceHandle;
typedef struct HWND__* WindowHandle;
#else
typedef struct InstanceTag* InstanceHandle;
typedef struct WindowTag* WindowHandle;
#endif

extern InstanceHandle gInstance;
extern const char* gCommandTail;  // null when none was given
extern ResultList gResultList;    // the list view's window handle on Windows
extern WindowHandle gLinkControl;

static_assert(kColumnCount == 4, "one start direction per column below");
constexpr SortState kInitialSortState = {kNoSortColumn, {true, true, true, true}};
extern SortState gSortState;
