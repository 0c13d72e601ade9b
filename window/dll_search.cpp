#include "decoder.h"

namespace {

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD);

}  // namespace

void KeepDllSearchInSystemFolder() {
    // Windows 8 and later, and Windows 7 with its DLL-search update, have the
    // call; XP, Vista and Windows 7 without the update keep their default
    // search, which looks in the program's own folder first.
    FARPROC proc = FindLoadedFunction(L"kernel32", "SetDefaultDllDirectories");
    if (proc)
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void*>(proc))(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
