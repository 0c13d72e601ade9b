#include "decoder.h"

FARPROC FindLoadedFunction(const wchar_t* module, const char* name) {
    HMODULE loaded = GetModuleHandleW(module);
    return loaded ? GetProcAddress(loaded, name) : nullptr;
}
