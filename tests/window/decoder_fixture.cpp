#include "decoder_fixture.h"

#include "child_rect.h"

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
