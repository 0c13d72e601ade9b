#include "decoder.h"

#include <commctrl.h>

#include "resource.h"

int WINAPI RunDecoder(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    // The show command is not used: the template carries WS_VISIBLE.
    gInstance = instance;
    gCommandTail = tail;
    // Version 6 of the common controls registers its classes only when asked;
    // without it the dialog's list and link may have no class to be made of.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_LISTVIEW_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&classes);
    INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DECODER), nullptr, DecoderDialogProc, 0);
    // A dialog that could not be created must not look like a normal close.
    return result == -1 ? 1 : 0;
}
