// The list's context menu: made once with the dialog, brought up to date and
// shown for a right-click on the rows, Shift+F10 or the Menu key. Its
// commands come back to the dialog as WM_COMMAND.
#include "decoder.h"

#include <commctrl.h>
#include <windowsx.h>

#include "child_rect.h"
#include "query/column_sort.h"
#include "resource.h"

static_assert(IDM_SORT_BY_ASC == IDM_SORT_BY_SK + kColumnAsc && IDM_SORT_BY_ASCQ == IDM_SORT_BY_SK + kColumnAscq &&
                  IDM_SORT_BY_DESCRIPTION == IDM_SORT_BY_SK + kColumnDescription,
              "a sort command is IDM_SORT_BY_SK plus its column");

namespace {

// The items in their order; a null text is the separator. The access keys
// C, A, P, K, S, Q and D differ, so that one key runs its item.
const struct {
    UINT command;
    const wchar_t* text;
} kListMenuItems[] = {
    {IDM_COPY, L"&Copy\tCtrl+C"},
    {IDM_SELECT_ALL, L"Select &all\tCtrl+A"},
    {IDM_PASTE_CODE, L"&Paste code\tCtrl+V"},
    {0, nullptr},
    {IDM_SORT_BY_SK, L"Sort by S&K"},
    {IDM_SORT_BY_ASC, L"Sort by A&SC"},
    {IDM_SORT_BY_ASCQ, L"Sort by ASC&Q"},
    {IDM_SORT_BY_DESCRIPTION, L"Sort by &Description"},
};

// The rows' part of the list's client area: below the header.
RECT RowsArea(HWND list) {
    RECT rows;
    GetClientRect(list, &rows);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    if (header) rows.top = ChildRectInClient(list, header).bottom;
    return rows;
}

// Where the menu opens from the keyboard, in the list's client coordinates:
// below the focused row, scrolled into view, at its left; with no focused
// row, at the top left of the rows.
POINT KeyboardMenuPoint(HWND list, const RECT& rows) {
    POINT point = {rows.left, rows.top};
    int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused < 0) return point;
    SendMessageW(list, LVM_ENSUREVISIBLE, focused, FALSE);
    RECT row = {LVIR_BOUNDS, 0, 0, 0};
    if (SendMessageW(list, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&row)))
        point = {row.left > rows.left ? row.left : rows.left, row.bottom};
    return point;
}

// Greys what cannot be done now and marks the column the list is sorted by.
void UpdateListMenu(HWND list) {
    bool selected = SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    bool rows = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0;
    EnableMenuItem(gListMenu, IDM_COPY, MF_BYCOMMAND | (selected ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(gListMenu, IDM_SELECT_ALL, MF_BYCOMMAND | (rows ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(gListMenu, IDM_PASTE_CODE, MF_BYCOMMAND | (ClipboardHasText() ? MF_ENABLED : MF_GRAYED));
    if (gSortState.column != kNoSortColumn)
        CheckMenuRadioItem(gListMenu, IDM_SORT_BY_SK, IDM_SORT_BY_DESCRIPTION, IDM_SORT_BY_SK + gSortState.column,
                           MF_BYCOMMAND);
}

}  // namespace

HMENU CreateListMenu() {
    HMENU menu = CreatePopupMenu();
    for (const auto& item : kListMenuItems)
        AppendMenuW(menu, item.text ? MF_STRING : MF_SEPARATOR, item.command, item.text);
    return menu;
}

bool OpenListMenu(HWND dialog, HWND from, LPARAM where) {
    HWND list = reinterpret_cast<HWND>(gResultList);
    if (!list || from != list || !gListMenu) return false;
    RECT rows = RowsArea(list);
    POINT point;
    if (where == -1) {  // from the keyboard
        point = KeyboardMenuPoint(list, rows);
    } else {
        // Signed: on a second monitor left of or above the first, screen
        // coordinates are negative. Wine names the list for a right-click
        // on its header too, so the point decides.
        point = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
        MapWindowPoints(HWND_DESKTOP, list, &point, 1);
        if (!PtInRect(&rows, point)) return false;
    }
    MapWindowPoints(list, HWND_DESKTOP, &point, 1);
    UpdateListMenu(list);
    // Where the user has menus drop to the left (Windows' handedness
    // setting), the menu's right edge is at the point.
    UINT alignment = GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    TrackPopupMenu(gListMenu, alignment | TPM_TOPALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, dialog, nullptr);
    return true;
}
