// The decoder window: its main routine, dialog procedure and helpers, and the
// process-wide values only the window uses. The query logic's own (the list
// and the sort state) are in query/process_state.h; docs/design.md has the
// table of who sets and who reads each.
#pragma once

#include <windows.h>

#include "query/process_state.h"

extern HINSTANCE gInstance;        // set by RunDecoder; OnInitDialog loads the icon from it
extern const char* gCommandTail;   // set by RunDecoder: empty without arguments, null only if RunDecoder
                                   // was handed none; OnInitDialog seeds the fields from it
extern HWND gLinkControl;          // set by OnInitDialog; LayoutControls keeps it at the right
extern HMENU gListMenu;            // made by OnInitDialog, destroyed with the dialog; the list's context menu

// Runs the decoder dialog modally. 0 after the dialog was closed, 1 when it
// could not be created.
int WINAPI RunDecoder(HINSTANCE instance, HINSTANCE previousInstance, LPSTR tail, int showCommand);

INT_PTR CALLBACK DecoderDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Which of Ctrl, Shift and Alt are held down as the current key message
// arrives, as kHeld bits.
enum HeldKey { kHeldCtrl = 1, kHeldShift = 2, kHeldAlt = 4 };
int HeldModifierKeys();

// Filters the characters typed into a query field, and turns a paste that
// holds a sense code into the three fields' texts.
LRESULT CALLBACK HexFieldSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR subclassId, DWORD_PTR referenceData);

// Keeps the list filling the client area below its top edge and the link
// 4 pixels from the right edge; cx and cy are the new client size.
void LayoutControls(HWND window, int cx, int cy);

// A window larger than its monitor's work area (a small screen, or a large
// DPI) is shrunk to that area and centred in it; one that fits is left as it
// is.
void FitToWorkArea(HWND window);

// Many row changes at once are drawn once, at the end: between these two the
// list view paints nothing, and the second has it repaint itself whole.
void SuspendListRedraw(HWND list);
void ResumeListRedraw(HWND list);

// Runs RebuildResultList on the process's list with the list's redraw
// suspended, and draws the result once. Nothing before the dialog has set
// the list up.
void RebuildWithRedrawSuspended();

// Selects every row of the list.
void SelectAllRows(HWND list);

// Puts the selected rows on the clipboard as Unicode text, the dialog owning
// it. With no row selected the clipboard keeps what it holds; where it stays
// busy this beeps and changes nothing, and it beeps too where the text
// cannot be handed over.
void CopySelectedRows(HWND dialog);

// Whether the clipboard holds text of any format.
bool ClipboardHasText();

// Looks for a sense code in the first kPastedTextLimit characters of the
// clipboard's text. False where it holds none, holds no text or stays busy.
bool ReadCodeFromClipboard(HWND owner, PackedCode* code);

// Where the clipboard's text holds a sense code, sets SK, ASC and ASCQ to
// it and rebuilds the list once; the focus stays where it is. A field whose
// text changes gets the caret after it where it is pastedInto (null for a
// paste from the list), as after a paste. False, and nothing changed, where
// the text holds no code.
bool PasteCodeIntoFields(HWND dialog, HWND pastedInto);

// The list's context menu, with no item greyed or checked yet.
HMENU CreateListMenu();

// Shows the list's context menu for WM_CONTEXTMENU from window from, at the
// screen point where (-1: from the keyboard); its command comes back to the
// dialog. Only a right-click on the list's rows or a key while the list has
// the focus opens it: false, and nothing shown, for anything else.
bool OpenListMenu(HWND dialog, HWND from, LPARAM where);

// Opens the product page in the user's browser.
void OpenProductPage();

// A function of a module that is already in the process, or null where the
// module is not loaded or lacks the function. Nothing is loaded to find it.
FARPROC FindLoadedFunction(const wchar_t* module, const char* name);

// From here on, a DLL loaded by bare name comes only from the system folder,
// never from the program's folder (say, a Downloads folder holding a planted
// DLL) or the current one. Where the system lacks the call for it, the
// search stays as it was.
void KeepDllSearchInSystemFolder();
