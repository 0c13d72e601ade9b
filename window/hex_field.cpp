#include "decoder.h"

#include <commctrl.h>

#include "query/field_entry.h"

// Typed characters pass the filter or are dropped. A paste (Ctrl+V, Shift+
// Insert, the field's menu) whose text holds a sense code fills the three
// fields; text without a code gets the field's own paste.
LRESULT CALLBACK HexFieldSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR) {
        unsigned passOn;
        if (!IsAcceptedFieldChar((unsigned)wParam, &passOn)) return 0;
        wParam = passOn;
    } else if (message == WM_KEYDOWN && wParam == VK_INSERT && HeldModifierKeys() == kHeldShift) {
        // Windows' edit control turns Shift+Insert into WM_PASTE; Wine's
        // pastes without one. Sent here, it is WM_PASTE on both.
        SendMessageW(window, WM_PASTE, 0, 0);
        return 0;
    } else if (message == WM_PASTE && PasteCodeIntoFields(GetParent(window), window)) {
        return 0;
    }
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_DESTROY) RemoveWindowSubclass(window, HexFieldSubclassProc, 0);
    return result;
}
