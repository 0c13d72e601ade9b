// The decoder window: its main routine, dialog procedure and helpers, and
// the process-wide state they share. The list's handle is gResultList.
#pragma once

#include <windows.h>

extern HINSTANCE gInstance;
extern const char* gCommandTail;  // null when none was given
extern HWND gLinkControl;

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
