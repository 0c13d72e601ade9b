#include "decoder.h"

#include <commctrl.h>

#include "query/field_entry.h"

namespace {

bool IsShiftInsert(WPARAM key) {
    return key == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
}

}  // namespace

// Typed characters pass the filter or are dropped. A paste (Ctrl+V, Shift+
// Insert, the field's menu) whose text holds a sense code fills all three
// fields, leaving the caret after this field's text, as a paste does; text
// without a code gets the field's own paste.
LRESULT CALLBACK HexFieldSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR) {
        unsigned passOn;
        if (!IsAcceptedFieldChar((unsigned)wParam, &passOn)) return 0;
        wParam = passOn;
    } else if (message == WM_KEYDOWN && IsShiftInsert(wParam)) {
        // Windows' edit control turns Shift+Insert into WM_PASTE; Wine's
        // pastes without one. Sent here, it is WM_PASTE on both.
        SendMessageW(window, WM_PASTE, 0, 0);
        return 0;
    } else if (message == WM_PASTE && PasteCodeIntoFields(GetParent(window))) {
        LRESULT end = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
        SendMessageW(window, EM_SETSEL, end, end);
        return 0;
    }
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_DESTROY) RemoveWindowSubclass(window, HexFieldSubclassProc, 0);
    return result;
}
