#include "decoder_fixture.h"

#include "child_rect.h"

namespace {

// What the message-filter hook saw of the menu while its loop ran.
MenuSeen gMenuSeen;

BOOL CALLBACK FindPopupMenu(HWND window, LPARAM found) {
    wchar_t name[16] = {0};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32768") != 0 || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

std::wstring DescribeMenu(HMENU menu) {
    std::wstring items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {0};
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = 64;
        GetMenuItemInfoW(menu, i, TRUE, &item);
        if (i) items += L"|";
        if (item.fType & MFT_SEPARATOR) {
            items += L"-";
            continue;
        }
        items += text;
        if (item.fState & MFS_GRAYED) items += L" (grey)";
        if ((item.fType & MFT_RADIOCHECK) && (item.fState & MFS_CHECKED)) items += L" (radio)";
    }
    return items;
}

// Runs inside the menu's loop: notes what shows, then closes the menu.
LRESULT CALLBACK SeeMenuThenEndIt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU && !gMenuSeen.opened) {
        HWND popup = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindPopupMenu, reinterpret_cast<LPARAM>(&popup));
        if (popup) {
            gMenuSeen.opened = true;
            RECT rect;
            GetWindowRect(popup, &rect);
            gMenuSeen.at = {rect.left, rect.top};
            gMenuSeen.right = rect.right;
            gMenuSeen.items = DescribeMenu(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)));
            EndMenu();
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void DecoderWindowTest::Open(const char* tail) {
    gInstance = GetModuleHandleW(nullptr);
    gCommandTail = tail;
    gResultList = nullptr;
    gLinkControl = nullptr;
    gSortState = kInitialSortState;
    dialog = CreateDialogParamW(gInstance, MAKEINTRESOURCEW(IDD_DECODER), nullptr, DecoderDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
}

void DecoderWindowTest::TearDown() {
    if (dialog) DestroyWindow(dialog);
}

std::string DecoderWindowTest::Text(int id) const {
    char text[64] = {0};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::wstring DecoderWindowTest::Cell(int row, int column) const {
    wchar_t text[kCellTextCapacity] = {0};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = kCellTextCapacity;
    SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::string DecoderWindowTest::Column(int column) const {
    std::string texts;
    for (int row = 0; row < RowCount(); ++row) {
        if (row) texts += ",";
        for (wchar_t unit : Cell(row, column)) texts += static_cast<char>(unit);
    }
    return texts;
}

RECT DecoderWindowTest::ChildRect(HWND child) const {
    return ChildRectInClient(dialog, child);
}

void DecoderWindowTest::Type(int id, const char* characters) {
    for (const char* c = characters; *c; ++c)
        SendMessageW(Item(id), WM_CHAR, static_cast<unsigned char>(*c), 1);
}

void DecoderWindowTest::ClickHeader(int column) {
    RECT item;
    SendMessageW(Header(), HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(Header(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(Header(), WM_LBUTTONUP, 0, point);
}

int DecoderWindowTest::HeaderFormat(int column) const {
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    SendMessageW(Header(), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt;
}

void DecoderWindowTest::Press(int id, UINT key, std::initializer_list<BYTE> held) {
    BYTE keys[256] = {0};
    for (BYTE k : held) keys[k] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(Item(id), WM_KEYDOWN, key, 1);
    BYTE none[256] = {0};
    SetKeyboardState(none);
}

void DecoderWindowTest::SelectRows(std::initializer_list<int> rows) {
    LVITEMW item = {};
    item.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    item.state = LVIS_SELECTED;
    for (int row : rows) SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

std::wstring DecoderWindowTest::ClipboardText() const {
    std::wstring text = L"(none)";
    if (!OpenClipboard(dialog)) return L"(clipboard busy)";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void DecoderWindowTest::PutOnClipboard(const wchar_t* text) const {
    ASSERT_TRUE(OpenClipboard(dialog));
    EmptyClipboard();
    if (text) {
        SIZE_T bytes = (lstrlenW(text) + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        CopyMemory(GlobalLock(memory), text, bytes);
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    }
    CloseClipboard();
}

MenuSeen DecoderWindowTest::ContextMenu(HWND from, LPARAM where) {
    gMenuSeen = MenuSeen();
    HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, SeeMenuThenEndIt, nullptr, GetCurrentThreadId());
    // A message for the menu's loop to find, so that the hook runs; the
    // dialog ignores it. Taken out again where no menu took it.
    PostMessageW(dialog, WM_APP, 0, 0);
    SendMessageW(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(from), where);
    UnhookWindowsHookEx(hook);
    MSG left;
    while (PeekMessageW(&left, dialog, WM_APP, WM_APP, PM_REMOVE)) {
    }
    return gMenuSeen;
}
