#include "decoder.h"

#include "resource.h"

int WINAPI RunDecoder(HINSTANCE instance, HINSTANCE, LPSTR tail, int) {
    // The show command is not used: the template carries WS_VISIBLE.
    gInstance = instance;
    gCommandTail = tail;
    INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DECODER), nullptr, DecoderDialogProc, 0);
    // A dialog that could not be created must not look like a normal close.
    return result == -1 ? 1 : 0;
}
