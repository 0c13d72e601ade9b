// Timings and resource figures of the real decoder dialog under Wine, in
// process: field change to rebuilt list against the floor of filling the
// same list view with the same rows, the header-click sort, copying 216 rows
// against the floor of putting the same text on the clipboard, a pasted code
// against one field change, and handle and memory counts around 10,000 field
// changes, 1,000 header clicks, 1,000 copies, 100 copies to a busy
// clipboard, 1,000 openings of the list's menu and 3,000 pastes. Prints
// figures; asserts nothing about time.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "decoder.h"
#include "query/column_sort.h"
#include "query/result_list.h"
#include "query/row_text.h"
#include "resource.h"

namespace {

HWND gDialog;
LARGE_INTEGER gFrequency;

double Now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1000.0 * counter.QuadPart / gFrequency.QuadPart;
}

double Median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

HWND List() {
    return GetDlgItem(gDialog, IDC_LIST);
}

int Rows() {
    return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
}

void SetFields(const char* sk, const char* asc, const char* ascq) {
    SetWindowTextA(GetDlgItem(gDialog, IDC_SK), sk);
    SetWindowTextA(GetDlgItem(gDialog, IDC_ASC), asc);
    SetWindowTextA(GetDlgItem(gDialog, IDC_ASCQ), ascq);
}

// One change of the ASCQ field, timed until the list is rebuilt.
double TimeAscqChange(const char* text) {
    double start = Now();
    SetWindowTextA(GetDlgItem(gDialog, IDC_ASCQ), text);
    return Now() - start;
}

// Field change to rebuilt list: the ASCQ text flips between two texts that
// give the same pattern, so every run rebuilds the same rows.
double RebuildMilliseconds(const char* sk, const char* asc, const char* ascqA, const char* ascqB, int runs,
                           int* rows) {
    SetFields(sk, asc, ascqA);
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) samples.push_back(TimeAscqChange(run % 2 ? ascqA : ascqB));
    *rows = Rows();
    return Median(samples);
}

// The same list filled with the same 216 rows, formatted beforehand, through
// the same messages under the same redraw suspension: what no rebuild beats.
double FloorMilliseconds(int runs) {
    static wchar_t cells[kSenseTableCount][kColumnCount][80];
    for (int i = 0; i < kSenseTableCount; ++i) {
        const SenseEntry& e = SenseTable[i];
        wsprintfW(cells[i][0], L"%X", e.senseKey);
        wsprintfW(cells[i][1], L"%02X", e.asc);
        wsprintfW(cells[i][2], L"%02X", e.ascq);
        MultiByteToWideChar(CP_ACP, 0, e.description, -1, cells[i][3], 80);
    }
    HWND list = List();
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        for (int i = 0; i < kSenseTableCount; ++i) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.pszText = cells[i][0];
            item.lParam = SenseTable[i].code;
            int row = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
            for (int column = 1; column < kColumnCount; ++column) {
                LVITEMW cell = {};
                cell.mask = LVIF_TEXT;
                cell.iItem = row;
                cell.iSubItem = column;
                cell.pszText = cells[i][column];
                SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&cell));
            }
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        samples.push_back(Now() - start);
    }
    return Median(samples);
}

double UnsuspendedRebuildMilliseconds(int runs) {
    SetFields("?", "??", "??");
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        RebuildResultList(gResultList);
        samples.push_back(Now() - start);
    }
    return Median(samples);
}

void ClickHeader(int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
    RECT item;
    SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&item));
    LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(header, WM_LBUTTONUP, 0, point);
}

double SortMilliseconds(int runs) {
    SetFields("?", "??", "??");
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
        double start = Now();
        ClickHeader(3);
        samples.push_back(Now() - start);
    }
    return Median(samples);
}

struct Resources {
    int handles;
    SIZE_T privateBytes;
};

// Counted directly, since Wine does not answer GetProcessHandleCount or
// GetGuiResources: handles by probing the handle table, memory by summing
// the committed private regions of the address space.
Resources Measure() {
    Resources r = {0, 0};
    for (UINT_PTR value = 4; value < 0x20000; value += 4) {
        DWORD flags;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++r.handles;
    }
    MEMORY_BASIC_INFORMATION region;
    for (const char* address = nullptr;
         VirtualQuery(address, &region, sizeof region) == sizeof region;
         address = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) r.privateBytes += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < address) break;
    }
    return r;
}

void PrintResources(const char* when, const Resources& r) {
    std::printf("  %-28s handles %d, private committed memory %lu KiB\n", when, r.handles,
                static_cast<unsigned long>(r.privateBytes / 1024));
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Ctrl+A on a list with no row selected, timed.
double SelectAllMilliseconds() {
    LVITEMW none = {};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    double start = Now();
    SelectAllRows(List());
    return Now() - start;
}

// Ctrl+C on the selected rows, called directly.
double CopyMilliseconds() {
    double start = Now();
    CopySelectedRows(gDialog);
    return Now() - start;
}

// The same text, built beforehand, put on the clipboard the same way: what
// no copy beats.
double ClipboardFloorMilliseconds(const wchar_t* text, int length) {
    double start = Now();
    SIZE_T bytes = (length + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    CopyMemory(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    if (OpenClipboard(gDialog)) {
        if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
        CloseClipboard();
    } else {
        GlobalFree(memory);
    }
    return Now() - start;
}

// Text on the clipboard as another program leaves it there: its owner, a
// window of its own, is gone by the time the decoder reads it.
void PutOnClipboardFromElsewhere(const wchar_t* text) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SIZE_T bytes = (lstrlenW(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    CopyMemory(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(owner) || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
    CloseClipboard();
    DestroyWindow(owner);
}

// The list's rows as it shows them, cell by cell, in the copy's form: what
// the copy must put on the clipboard.
int ListTextAsShown(wchar_t* text, int capacity) {
    int length = 0;
    for (int row = 0; row < Rows(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            wchar_t cell[kCellTextCapacity] = {0};
            LVITEMW item = {};
            item.iSubItem = column;
            item.pszText = cell;
            item.cchTextMax = kCellTextCapacity;
            SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            const wchar_t* separator = column ? L"\t" : row ? L"\r\n" : L"";
            length += wsprintfW(text + length, L"%s%s", separator, cell);
            if (length > capacity - 300) return length;
        }
    }
    return length;
}

// A paste of the clipboard's code into the SK field, timed until the list
// is rebuilt.
double PasteMilliseconds() {
    double start = Now();
    SendMessageW(GetDlgItem(gDialog, IDC_SK), WM_PASTE, 0, 0);
    return Now() - start;
}

bool ClipboardHolds(const wchar_t* expected) {
    bool same = false;
    if (!OpenClipboard(gDialog)) return false;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        same = lstrcmpW(static_cast<const wchar_t*>(GlobalLock(data)), expected) == 0;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return same;
}

// Holds the clipboard open from another thread until told to let go.
HANDLE gLetGo, gHolding;
DWORD WINAPI HoldClipboard(LPVOID) {
    OpenClipboard(nullptr);
    SetEvent(gHolding);
    WaitForSingleObject(gLetGo, INFINITE);
    CloseClipboard();
    return 0;
}

// Closes each menu from inside its loop, once it shows.
int gMenusShown;
LRESULT CALLBACK EndEachMenu(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_MENU) {
        ++gMenusShown;
        EndMenu();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The list's menu as Shift+F10 opens it, closed again at once.
void OpenAndCloseListMenu() {
    PostMessageW(gDialog, WM_APP, 0, 0);  // a message for the menu's loop, so that the hook runs
    SendMessageW(gDialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List()), -1);
    MSG left;
    while (PeekMessageW(&left, gDialog, WM_APP, WM_APP, PM_REMOVE)) {
    }
}

}  // namespace

int main() {
    QueryPerformanceFrequency(&gFrequency);
    gInstance = GetModuleHandleW(nullptr);
    gCommandTail = "";
    gDialog = CreateDialogParamW(gInstance, MAKEINTRESOURCEW(IDD_DECODER), nullptr, DecoderDialogProc, 0);
    if (!gDialog) return 1;
    Pump();

    const int runs = 101;
    int rows = 0;
    // The 216-row rebuild and its floor run in turns, so that drift in the
    // machine's speed falls on both alike.
    std::vector<double> rebuildSamples, floorSamples, directSamples;
    SetFields("?", "??", "??");
    for (int run = 0; run < runs; ++run) {
        rebuildSamples.push_back(TimeAscqChange(run % 2 ? "??" : ""));  // '' and '??' both leave '?????'

        floorSamples.push_back(FloorMilliseconds(1));
        double start = Now();
        RebuildWithRedrawSuspended();
        directSamples.push_back(Now() - start);
    }
    double all = Median(rebuildSamples), floor = Median(floorSamples);
    std::printf("Median of %d runs, taken in turns:\n", runs);
    std::printf("  field change to rebuilt list, '?\?\?\?\?' (216 rows)  %8.3f ms\n", all);
    std::printf("  the rebuild alone, redraw suspended, 216 rows       %8.3f ms\n", Median(directSamples));
    std::printf("  floor: 216 pre-formatted rows, same messages         %8.3f ms\n", floor);
    std::printf("  field change to rebuilt list / floor = %.3f\n", all / floor);
    std::printf("Field change to rebuilt list, median of %d runs:\n", runs);
    double six = RebuildMilliseconds("6", "??", "??", "", runs, &rows);
    std::printf("  '6\?\?\?\?' %3d rows  %8.3f ms\n", rows, six);
    double none = RebuildMilliseconds("X", "XX", "XX", "xx", runs, &rows);  // 'xx' reads as 'XX'
    std::printf("  'XXXXX' %3d rows  %8.3f ms\n", rows, none);
    const int slowRuns = 5;
    std::printf("216-row rebuild without redraw suspension (RebuildResultList, median of %d)  %8.3f ms\n", slowRuns,
                UnsuspendedRebuildMilliseconds(slowRuns));
    std::printf("Header click sorting 216 rows, median of %d: %.3f ms\n", 21, SortMilliseconds(21));

    // Ctrl+A and Ctrl+C on all 216 rows against the floor, in turns; and
    // the copy's two parts, the list's reads and the text built from them.
    SetFields("?", "??", "??");
    static wchar_t allRows[32768];
    int length = ListTextAsShown(allRows, 32768);
    std::vector<double> selectSamples, copySamples, clipboardFloorSamples, readSamples, textSamples;
    for (int run = 0; run < runs; ++run) {
        selectSamples.push_back(SelectAllMilliseconds());
        clipboardFloorSamples.push_back(ClipboardFloorMilliseconds(allRows, length));
        copySamples.push_back(CopyMilliseconds());  // last, so that the clipboard holds the copy's text
        PackedCode codes[kSenseTableCount];
        double start = Now();
        int count = SelectedRowCodes(gResultList, codes, kSenseTableCount);
        readSamples.push_back(Now() - start);
        start = Now();
        RowsText(codes, count, allRows + length + 1, 32768 - length - 1);
        textSamples.push_back(Now() - start);
    }
    double copy = Median(copySamples), clipboardFloor = Median(clipboardFloorSamples);
    bool copyRight = ClipboardHolds(allRows);
    std::printf("Copying 216 rows (%d characters), median of %d runs, taken in turns:\n", length, runs);
    std::printf("  Ctrl+A, no row selected before                       %8.3f ms\n", Median(selectSamples));
    std::printf("  Ctrl+C, the rows put on the clipboard               %8.3f ms\n", copy);
    std::printf("    of which: reading the 216 rows' state and code    %8.3f ms\n", Median(readSamples));
    std::printf("    and building the text from the table              %8.3f ms\n", Median(textSamples));
    std::printf("  floor: the same text, built beforehand, put there   %8.3f ms\n", clipboardFloor);
    std::printf("  Ctrl+C / floor = %.3f; the clipboard holds the rows as the list shows them: %s\n",
                copy / clipboardFloor, copyRight ? "yes" : "NO");

    // A pasted code against one field change, all rebuilding the same row
    // (5/24/00: ASCQ '0' and '00' give the same pattern), in turns: a paste
    // that changes one field, as the field change does, and one that
    // changes all three (from 6/29/01, set untimed before it).
    const wchar_t* logLine = L"failed H:0x0 D:0x2 P:0x0 Valid sense data: 0x5 0x24 0x0. Act:NONE";
    PutOnClipboardFromElsewhere(logLine);
    SetFields("5", "24", "00");
    std::vector<double> changeSamples, pasteOneSamples, pasteThreeSamples, clipboardReadSamples;
    bool pasteRight = true;
    for (int run = 0; run < runs; ++run) {
        changeSamples.push_back(TimeAscqChange("0"));
        pasteOneSamples.push_back(PasteMilliseconds());
        pasteRight = pasteRight && Rows() == 1;
        SetFields("6", "29", "01");
        pasteThreeSamples.push_back(PasteMilliseconds());
        PackedCode code = 0;
        double start = Now();
        pasteRight = pasteRight && ReadCodeFromClipboard(gDialog, &code) && code == 0x52400 && Rows() == 1;
        clipboardReadSamples.push_back(Now() - start);
    }
    double change = Median(changeSamples), pasteOne = Median(pasteOneSamples), pasteThree = Median(pasteThreeSamples);
    std::printf("A pasted code, median of %d runs, taken in turns (1 row):\n", runs);
    std::printf("  one field change to rebuilt list (ASCQ)              %8.3f ms\n", change);
    std::printf("  paste to rebuilt list, one field changed (ASCQ)      %8.3f ms\n", pasteOne);
    std::printf("  paste to rebuilt list, all three fields changed      %8.3f ms\n", pasteThree);
    std::printf("    of which: the clipboard read, the code found       %8.3f ms\n", Median(clipboardReadSamples));
    std::printf("  paste / field change = %.3f with one field changed, %.3f with three; right: %s\n",
                pasteOne / change, pasteThree / change, pasteRight ? "yes" : "NO");

    std::printf("Robustness:\n");
    SetFields("6", "29", "??");
    Pump();
    Resources before = Measure();
    PrintResources("before:", before);
    const char* ascq[] = {"0", "1", "2", "3", "4"};
    for (int change = 0; change < 10000; ++change) {
        SetWindowTextA(GetDlgItem(gDialog, IDC_ASCQ), ascq[change % 5]);
        if (change % 100 == 0) Pump();
    }
    Pump();
    Resources afterChanges = Measure();
    PrintResources("after 10,000 field changes:", afterChanges);
    wchar_t code[8];
    bool rowsRight = Rows() == 1;
    LVITEMW item = {};
    item.iSubItem = 2;
    item.pszText = code;
    item.cchTextMax = 8;
    SendMessageW(List(), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    rowsRight = rowsRight && lstrcmpW(code, L"04") == 0;  // the last change was '4'

    SetFields("?", "??", "??");
    for (int click = 0; click < 1000; ++click) {
        ClickHeader(click % 4);
        if (click % 50 == 0) Pump();
    }
    Pump();
    Resources afterClicks = Measure();
    PrintResources("after 1,000 header clicks:", afterClicks);
    rowsRight = rowsRight && Rows() == 216;
    std::printf("  rows still right: %s\n", rowsRight ? "yes" : "NO");

    SelectAllRows(List());
    ListTextAsShown(allRows, 32768);  // in the order the clicks left
    for (int copyRun = 0; copyRun < 1000; ++copyRun) {
        CopySelectedRows(gDialog);
        if (copyRun % 50 == 0) Pump();
    }
    Pump();
    PrintResources("after 1,000 copies:", Measure());
    bool copiesRight = ClipboardHolds(allRows);

    // A busy clipboard: every copy fails after its tries, and must leave
    // nothing behind.
    // Counted while the other thread holds it, so that only the copies differ.
    gLetGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    gHolding = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE holder = CreateThread(nullptr, 0, HoldClipboard, nullptr, 0, nullptr);
    WaitForSingleObject(gHolding, INFINITE);
    PrintResources("clipboard held by a thread:", Measure());
    CopySelectedRows(gDialog);
    Pump();
    PrintResources("after 1 copy to it:", Measure());
    double busyStart = Now();
    for (int copyRun = 0; copyRun < 100; ++copyRun) CopySelectedRows(gDialog);
    double busyEach = (Now() - busyStart) / 100;
    Pump();
    PrintResources("after 100 more copies to it:", Measure());
    std::printf("  each copy gave up after %.1f ms\n", busyEach);
    SetEvent(gLetGo);
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);
    copiesRight = copiesRight && ClipboardHolds(allRows);
    std::printf("  clipboard holds the 216 rows: %s\n", copiesRight ? "yes" : "NO");

    HHOOK hook = SetWindowsHookExW(WH_MSGFILTER, EndEachMenu, nullptr, GetCurrentThreadId());
    double menuStart = Now();
    for (int opening = 0; opening < 1000; ++opening) OpenAndCloseListMenu();
    double menuEach = (Now() - menuStart) / 1000;
    UnhookWindowsHookEx(hook);
    Pump();
    PrintResources("after 1,000 menu openings:", Measure());
    std::printf("  menus shown: %d, each open and closed in %.3f ms\n", gMenusShown, menuEach);

    // Pastes of a line another program copied, each after SK was changed;
    // then of rows this dialog copied itself.
    PutOnClipboardFromElsewhere(logLine);
    for (int round = 0; round < 2; ++round) {
        for (int pasteRun = 0; pasteRun < 1000; ++pasteRun) {
            SetWindowTextA(GetDlgItem(gDialog, IDC_SK), "?");
            PasteMilliseconds();
            if (pasteRun % 50 == 0) Pump();
        }
        Pump();
        PrintResources(round ? "after 1,000 more pastes:" : "after 1,000 pastes:", Measure());
    }
    pasteRight = pasteRight && Rows() == 1;
    std::printf("  the pasted row shows: %s\n", pasteRight ? "yes" : "NO");
    SelectAllRows(List());
    CopySelectedRows(gDialog);
    for (int pasteRun = 0; pasteRun < 1000; ++pasteRun) {
        SetWindowTextA(GetDlgItem(gDialog, IDC_SK), "?");
        PasteMilliseconds();
    }
    Pump();
    PrintResources("after 1,000 pastes of its own copy:", Measure());
    rowsRight = rowsRight && copyRight && copiesRight && pasteRight && gMenusShown >= 1000;
    DestroyWindow(gDialog);
    return rowsRight ? 0 : 1;
}
