// A hook DLL that the end-to-end probe installs on the decoder's GUI thread:
// inside the decoder's process, it loads the planted DLL by its bare name,
// as a hostile download would have the program do, and answers on the
// decoder's window whether it was found. It is loaded under the decoder's
// restricted DLL search, so it imports only kernel32 and user32, which every
// GUI process has loaded, and has no C runtime.
#include <windows.h>

#include "search_check.h"

extern "C" __declspec(dllexport) BOOL WINAPI PlantedDllFound() {
    HMODULE planted = LoadLibraryW(QUORVEL_PLANTED_DLL);
    if (planted) FreeLibrary(planted);
    return planted != nullptr;
}

// WH_GETMESSAGE: when the decoder takes the probe's check message from its
// queue, the answer goes on the window it was posted to.
extern "C" __declspec(dllexport) LRESULT CALLBACK SearchCheckHook(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE &&
        message->message == RegisterWindowMessageW(QUORVEL_SEARCH_CHECK_MESSAGE)) {
        int answer = PlantedDllFound() ? kPlantedFound : kPlantedMissing;
        SetPropW(message->hwnd, QUORVEL_SEARCH_ANSWER_PROPERTY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(answer)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

extern "C" BOOL WINAPI SearchHookEntry(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
