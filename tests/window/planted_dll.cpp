// A DLL as a hostile page would have the browser save beside the program.
extern "C" __declspec(dllexport) int PlantedMark() {
    return 0x9ad;
}
