// What the end-to-end probe and its hook DLL (search_hook.cpp) agree on for
// the check of the running decoder's DLL search.
#pragma once

// Beside the probe and the decoder under test: a DLL of no system's name, as
// a hostile download would leave it, and the hook that looks for it.
#define QUORVEL_PLANTED_DLL L"quorvel_planted.dll"
#define QUORVEL_SEARCH_HOOK_DLL L"quorvel_search_hook.dll"

// Posted by the probe to the decoder's window; the hook answers on that
// window's property with kPlantedFound or kPlantedMissing.
#define QUORVEL_SEARCH_CHECK_MESSAGE L"QuorvelDllSearchCheck"
#define QUORVEL_SEARCH_ANSWER_PROPERTY L"QuorvelDllSearchAnswer"
constexpr int kPlantedMissing = 1;
constexpr int kPlantedFound = 2;
