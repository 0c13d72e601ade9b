// The decoder window: its main routine, dialog procedure and helpers. The
// process-wide state they share is in query/process_state.h.
#pragma once

#include <windows.h>

#include <type_traits>

#include "query/process_state.h"

static_assert(std::is_same<InstanceHandle, HINSTANCE>::value && std::is_same<WindowHandle, HWND>::value,
              "the process state's handles are the platform's own types");

// Runs the decoder dialog modally. 0 after the dialog was closed, 1 when it
// could not be created.
int WINAPI RunDecoder(HINSTANCE instance, HINSTANCE previousInstance, LPSTR tail, int showCommand);

INT_PTR CALLBACK DecoderDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Filters the characters typed into a query field.
LRESULT CALLBACK HexFieldSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR referenceData);

// Keeps the list filling the client area below its top edge and the link
// 4 pixels from the right edge; cx and cy are the new client size.
void LayoutControls(HWND window, int cx, int cy);

// Rebuilds the result list from the fields with its redraw suspended.
void RefreshResultList();

// Opens the product page in the user's browser.
void OpenProductPage();
