#include <windows.h>

#include <gtest/gtest.h>

#include "decoder.h"

namespace {

HHOOK gHook;

// Closes the decoder as soon as its window is activated, the way Escape does.
LRESULT CALLBACK CloseOnActivate(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDCANCEL, 0);
    return CallNextHookEx(gHook, code, wParam, lParam);
}

}  // namespace

TEST(RunDecoder, ReturnsZeroAfterTheDialogIsClosed) {
    gHook = SetWindowsHookExW(WH_CBT, CloseOnActivate, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, gHook);
    int result = RunDecoder(GetModuleHandleW(nullptr), nullptr, const_cast<LPSTR>("6 29"), SW_SHOWNORMAL);
    UnhookWindowsHookEx(gHook);
    EXPECT_EQ(0, result);
}

TEST(RunDecoder, ReturnsOneWhenTheDialogCannotBeCreated) {
    // kernel32 holds no decoder template.
    EXPECT_EQ(1, RunDecoder(GetModuleHandleW(L"kernel32"), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL));
}
