// Creates the real decoder dialog from its template, in this process, and
// reads what the user would see.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <initializer_list>
#include <string>

#include <gtest/gtest.h>

#include "decoder.h"
#include "query/column_sort.h"
#include "resource.h"

// A popup menu as it showed: whether one opened, its top left on the screen,
// and its items as their texts, with " (grey)" and " (radio)" as they show
// and "-" for a separator, joined by '|'.
struct MenuSeen {
    bool opened;
    POINT at;
    LONG right;
    std::wstring items;
};

class DecoderWindowTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Opens the dialog as it opens at start-up, with this command-line tail.
    void Open(const char* tail = "");

    HWND Item(int id) const { return GetDlgItem(dialog, id); }
    HWND List() const { return Item(IDC_LIST); }
    HWND Header() const { return reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0)); }
    std::string Text(int id) const;
    int FocusedId() const { return GetDlgCtrlID(GetFocus()); }
    int RowCount() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring Cell(int row, int column) const;
    // Cells of one column, comma separated, as ASCII.
    std::string Column(int column) const;
    RECT ChildRect(HWND child) const;

    // A character typed into a field, as the keyboard delivers it.
    void Type(int id, const char* characters);
    // A left click in the middle of a header item.
    void ClickHeader(int column);
    int HeaderFormat(int column) const;
    // A key pressed while the control has the focus, with these keys held down.
    void Press(int id, UINT key, std::initializer_list<BYTE> held = {});
    void SelectRows(std::initializer_list<int> rows);
    int SelectedCount() const { return static_cast<int>(SendMessageW(List(), LVM_GETSELECTEDCOUNT, 0, 0)); }

    // The clipboard's Unicode text, or "(none)"; and text put there (null:
    // the clipboard emptied).
    std::wstring ClipboardText() const;
    void PutOnClipboard(const wchar_t* text) const;

    // What WM_CONTEXTMENU from the window from, at the screen point where
    // (-1: the keyboard), shows. The menu is closed from inside its loop.
    MenuSeen ContextMenu(HWND from, LPARAM where);

    HWND dialog = nullptr;
};
