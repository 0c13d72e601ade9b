// In a process of its own: after KeepDllSearchInSystemFolder no DLL is
// searched beside the program for the rest of the run.
#include <windows.h>

#include <gtest/gtest.h>

#include "decoder.h"

namespace {

// Built by the tests into this executable's own folder, which is also the
// current folder when CTest runs it; no system folder holds it.
const wchar_t kPlantedDll[] = L"quorvel_planted.dll";

}  // namespace

TEST(DllSearch, ADllBesideTheProgramIsNotLoadedOnceTheSearchIsKeptInTheSystemFolder) {
    // Without this the test could not tell a kept search from a planted DLL
    // that is not there.
    HMODULE planted = LoadLibraryW(kPlantedDll);
    ASSERT_NE(nullptr, planted) << "the planted DLL is not found beside the test executable";
    EXPECT_NE(nullptr, GetProcAddress(planted, "PlantedMark"));
    FreeLibrary(planted);  // unloaded, so that the next load searches again

    KeepDllSearchInSystemFolder();
    planted = LoadLibraryW(kPlantedDll);
    EXPECT_EQ(nullptr, planted) << "a DLL beside the program is still loaded by bare name";
    if (planted) FreeLibrary(planted);
}
