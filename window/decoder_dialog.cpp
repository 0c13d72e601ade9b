// The decoder dialog's procedure, which only dispatches, one handler a
// message, and what the handlers and the field subclass share: the rebuild
// with the list's redraw suspended, a pasted code set into the fields, the
// modifier keys held.
#include "decoder.h"

#include <commctrl.h>

#include "query/column_sort.h"
#include "query/command_tail.h"
#include "query/field_entry.h"
#include "query/pasted_code.h"
#include "query/result_list.h"
#include "resource.h"

// The dialog code passes a field's kind as its control identifier and back.
static_assert(kFieldSk == IDC_SK && kFieldAsc == IDC_ASC && kFieldAscq == IDC_ASCQ,
              "a FieldKind is its field's control identifier");

namespace {

const FieldKind kFields[] = {kFieldSk, kFieldAsc, kFieldAscq};

typedef HRESULT(WINAPI* SetWindowThemeProc)(HWND, LPCWSTR, LPCWSTR);

// The list's visual theme, only where uxtheme is already in the process.
void ApplyExplorerTheme(HWND list) {
    FARPROC proc = FindLoadedFunction(L"uxtheme", "SetWindowTheme");
    if (proc) reinterpret_cast<SetWindowThemeProc>(reinterpret_cast<void*>(proc))(list, L"Explorer", nullptr);
}

// Width of each code column (SK, ASC, ASCQ), in pixels on a 96-DPI screen;
// on others it grows with the DPI, as the dialog's font does.
constexpr int kCodeColumnWidthAt96Dpi = 50;
constexpr int kBaseDpi = 96;

// The screen's DPI. The program declares itself DPI-aware, so the system
// does not scale its pixels; this call is there on every Windows from XP on.
int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Room for the field text whose length the advance rule reads: at most seven
// characters.
constexpr int kAdvanceRuleReadCapacity = 8;

// Set while a pasted code fills the three fields: their changes neither move
// the focus nor rebuild the list, which is rebuilt once afterwards.
bool gFillingFields;

// listWidth is the list's client width when the dialog opens, dpi the
// screen's.
void InsertColumns(HWND list, int listWidth, int dpi) {
    static const wchar_t* const titles[] = {L"SK", L"ASC", L"ASCQ", L"Description"};
    static_assert(sizeof titles / sizeof titles[0] == kColumnCount, "one title per list column");
    static_assert(kColumnDescription == kColumnCount - 1, "the code columns stand before Description");
    // Description takes what the code columns leave, less room for a
    // vertical scroll bar, so that the four fill the list exactly.
    int codeColumnWidth = MulDiv(kCodeColumnWidthAt96Dpi, dpi, kBaseDpi);
    int descriptionWidth = listWidth - GetSystemMetrics(SM_CXBORDER) - GetSystemMetrics(SM_CXVSCROLL) -
                           kColumnDescription * codeColumnWidth;
    for (int i = 0; i < kColumnCount; ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_WIDTH | LVCF_TEXT;
        column.cx = i == kColumnDescription ? descriptionWidth : codeColumnWidth;
        column.pszText = const_cast<LPWSTR>(titles[i]);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

// ASCQ first, then ASC, then SK: the order the seeding sets them in.
void SetFieldTexts(HWND dialog, const SeedTexts& texts) {
    SetWindowTextA(GetDlgItem(dialog, IDC_ASCQ), texts.ascq);
    SetWindowTextA(GetDlgItem(dialog, IDC_ASC), texts.asc);
    SetWindowTextA(GetDlgItem(dialog, IDC_SK), texts.sk);
}

// Sets a field to a pasted code's text. A field that already shows it is
// left alone: under Wine each new text costs the edit control about as much
// as a one-row rebuild. Where the text is set in the field the paste came
// to, the caret goes after it, as after any paste.
constexpr int kShownTextCapacity = 4;  // three characters tell a longer text from a code's one or two

void SetPastedFieldText(HWND dialog, int id, const char* text, HWND pastedInto) {
    char shown[kShownTextCapacity];
    GetDlgItemTextA(dialog, id, shown, sizeof shown);
    int length = 0;
    while (text[length] && text[length] == shown[length]) ++length;
    if (text[length] == shown[length]) return;
    HWND field = GetDlgItem(dialog, id);
    SetWindowTextA(field, text);
    while (text[length]) ++length;
    if (field == pastedInto) SendMessageW(field, EM_SETSEL, length, length);
}

BOOL OnInitDialog(HWND window) {
    HICON icon = LoadIconW(gInstance, MAKEINTRESOURCEW(IDI_APP));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    for (FieldKind field : kFields)
        SendDlgItemMessageW(window, field, EM_LIMITTEXT, FieldTextLimit(field), 0);
    for (FieldKind field : kFields)
        SetWindowSubclass(GetDlgItem(window, field), HexFieldSubclassProc, 0, 0);

    if (gCommandTail) {
        // Each text raises EN_CHANGE; the rebuilds it asks for find no list yet.
        SetFieldTexts(window, SeedFieldsFromTail(gCommandTail));
    }

    gLinkControl = GetDlgItem(window, IDC_LINK);
    gListMenu = CreateListMenu();
    HWND list = GetDlgItem(window, IDC_LIST);
    ApplyExplorerTheme(list);
    gResultList = reinterpret_cast<ResultList>(list);
    // With both handles recorded, the size message this may raise lays the
    // list out to the new client area before its width is read.
    FitToWorkArea(window);
    RECT client;
    GetClientRect(list, &client);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    InsertColumns(list, client.right, ScreenDpi());
    RebuildWithRedrawSuspended();
    return TRUE;  // the platform focuses the first tab stop: the SK field
}

void OnFieldChanged(HWND window, FieldKind field) {
    if (gFillingFields) return;
    char text[kAdvanceRuleReadCapacity];
    int length = GetDlgItemTextA(window, field, text, sizeof text);
    FieldKind next = FieldAdvanceRule(field, length);
    if (next != kNoField) {
        HWND nextField = GetDlgItem(window, next);
        SetFocus(nextField);
        SendMessageW(nextField, EM_SETSEL, 0, -1);
    }
    RebuildWithRedrawSuspended();
}

// From the list or its menu there is no field's own paste to fall back on:
// text without a code only beeps.
void PasteCodeOrBeep(HWND dialog) {
    if (!PasteCodeIntoFields(dialog, nullptr)) MessageBeep(MB_OK);
}

BOOL OnCommand(HWND window, int id, int code) {
    switch (id) {
        case IDOK: return TRUE;  // Enter neither closes nor changes anything
        case IDCANCEL: EndDialog(window, 0); return TRUE;
        case IDC_SK:
        case IDC_ASC:
        case IDC_ASCQ:
            if (code == EN_CHANGE) OnFieldChanged(window, static_cast<FieldKind>(id));
            return FALSE;
        // The list's context menu.
        case IDM_COPY: CopySelectedRows(window); return TRUE;
        case IDM_SELECT_ALL: SelectAllRows(GetDlgItem(window, IDC_LIST)); return TRUE;
        case IDM_PASTE_CODE: PasteCodeOrBeep(window); return TRUE;
        case IDM_SORT_BY_SK:
        case IDM_SORT_BY_ASC:
        case IDM_SORT_BY_ASCQ:
        case IDM_SORT_BY_DESCRIPTION: OnColumnClick(id - IDM_SORT_BY_SK); return TRUE;
    }
    return FALSE;
}

// A key while the list has the focus: Ctrl+C (or Ctrl+Insert) copies the
// selected rows, Ctrl+A selects them all, Ctrl+V (or Shift+Insert) pastes a
// code. Only with Ctrl, or Shift, alone: AltGr is Ctrl+Alt, and AltGr+C
// types a letter on some keyboard layouts.
void OnListKey(HWND window, WORD key) {
    int held = HeldModifierKeys();
    if (held == kHeldCtrl) {
        if (key == 'C' || key == VK_INSERT) CopySelectedRows(window);
        else if (key == 'A') SelectAllRows(GetDlgItem(window, IDC_LIST));
        else if (key == 'V') PasteCodeOrBeep(window);
    } else if (held == kHeldShift && key == VK_INSERT) {
        PasteCodeOrBeep(window);
    }
}

void OnNotify(HWND window, const NMHDR* header) {
    if (header->idFrom == IDC_LIST && header->code == LVN_COLUMNCLICK)
        OnColumnClick(reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem);
    else if (header->idFrom == IDC_LIST && header->code == LVN_KEYDOWN)
        OnListKey(window, reinterpret_cast<const NMLVKEYDOWN*>(header)->wVKey);
    else if (header->idFrom == IDC_LINK && (header->code == NM_CLICK || header->code == NM_RETURN))
        OpenProductPage();
}

void OnDestroy() {
    DestroyMenu(gListMenu);
    gListMenu = nullptr;
}

}  // namespace

int HeldModifierKeys() {
    return (GetKeyState(VK_CONTROL) < 0 ? kHeldCtrl : 0) | (GetKeyState(VK_SHIFT) < 0 ? kHeldShift : 0) |
           (GetKeyState(VK_MENU) < 0 ? kHeldAlt : 0);
}

// The dialog decides when to rebuild, so it brackets the rebuild with the
// list's redraw suspension; the list operations themselves call nothing back.
void RebuildWithRedrawSuspended() {
    HWND list = reinterpret_cast<HWND>(gResultList);
    if (!list) return;
    SuspendListRedraw(list);
    RebuildResultList(gResultList);
    ResumeListRedraw(list);
}

bool PasteCodeIntoFields(HWND dialog, HWND pastedInto) {
    PackedCode code;
    if (!ReadCodeFromClipboard(dialog, &code)) return false;
    SeedTexts texts = FieldTextsOfCode(code);
    gFillingFields = true;
    SetPastedFieldText(dialog, IDC_ASCQ, texts.ascq, pastedInto);
    SetPastedFieldText(dialog, IDC_ASC, texts.asc, pastedInto);
    SetPastedFieldText(dialog, IDC_SK, texts.sk, pastedInto);
    gFillingFields = false;
    RebuildWithRedrawSuspended();
    return true;
}

INT_PTR CALLBACK DecoderDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: return OnInitDialog(window);
        case WM_COMMAND: return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY: OnNotify(window, reinterpret_cast<const NMHDR*>(lParam)); return FALSE;
        case WM_CONTEXTMENU: return OpenListMenu(window, reinterpret_cast<HWND>(wParam), lParam);
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) LayoutControls(window, LOWORD(lParam), HIWORD(lParam));
            return FALSE;
        case WM_DESTROY: OnDestroy(); return FALSE;
    }
    return FALSE;
}
