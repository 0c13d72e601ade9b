#include "decoder.h"

#include <commctrl.h>

#include "query/field_entry.h"

LRESULT CALLBACK HexFieldSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR) {
        unsigned passOn;
        if (!IsAcceptedFieldChar((unsigned)wParam, &passOn)) return 0;
        wParam = passOn;
    }
    LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_DESTROY) RemoveWindowSubclass(window, HexFieldSubclassProc, 0);
    return result;
}
