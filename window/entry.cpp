// The process's entry routine: there is no C runtime start-up.
#include "decoder.h"
#include "query/command_tail.h"

extern "C" void WINAPI DecoderEntry() {
    // First, before anything can load a DLL on the program's behalf.
    KeepDllSearchInSystemFolder();
    const char* tail = ExtractCommandTail(GetCommandLineA());
    STARTUPINFOA startup;
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    int showCommand = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
    ExitProcess(RunDecoder(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(tail), showCommand));
}
