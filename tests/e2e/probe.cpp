// A probe that starts quorvel.exe and reads its window from outside, for the
// end-to-end scenarios. It reads one command a line on standard input and
// answers with one line on standard output:
//
//   launch HEX            start a process whose whole command line is the
//                         hex-encoded bytes; answers "pid N"
//   window                "window H" for the decoder's window, 0 if none yet
//   state                 field texts, row count, focused control, selection
//                         of the focused field, header arrows (U, D or -),
//                         and the list's first selected row (-1 for none)
//   column C              the cells of list column C, joined by '|'
//   geometry              client size and the list's and link's rectangles
//                         in client coordinates
//   columns               per column its width and the width its header
//                         text needs (the text as the list measures it, plus
//                         the header's margin on each side), the list's
//                         client width, SM_CXBORDER, and the list's scroll
//                         bars (V, H)
//   screen                the window's rectangle and its monitor's work area
//   frame [rows]          the window's rectangle on the screen, or that of
//                         the list's rows (its client area below the header)
//   point header C | row R | link | close | border
//                         a screen point on header item C, in the middle of
//                         row R, on the link's anchor, on the close box, on
//                         the right sizing border
//   close                 posts WM_CLOSE to the decoder's window
//   menu                  "menu N": the popup menus (class #32768) shown by
//                         the decoder's thread
//   clipboard             "clipboard seq=N text=HEX": the clipboard's
//                         sequence number and its Unicode text as UTF-8 in
//                         hex ("none" for no text, "busy" while another
//                         program has it open)
//   setclipboard HEX      puts that text (UTF-8 in hex) on the clipboard
//   dllsearch             loads the planted DLL by its bare name here and,
//                         through a hook, inside the decoder (both beside
//                         this probe): "dllsearch probe=R decoder=R", R
//                         found or missing, or silent where the hook did
//                         not answer
//   wait MS               "exit N" once the process has ended, else "running"
//   quit
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "child_rect.h"
#include "query/list_operations.h"
#include "resource.h"
#include "search_check.h"

namespace {

const char kCaption[] = "SCSI Sense Code Decoder";
PROCESS_INFORMATION gProcess;

// Messages to the decoder give up after a while, so a busy decoder shows as
// a wrong answer instead of a probe that hangs.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result)) return 0;
    return static_cast<LRESULT>(result);
}

struct FindContext {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindDecoder(HWND window, LPARAM context) {
    FindContext* find = reinterpret_cast<FindContext*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char caption[64] = {0};
    GetWindowTextA(window, caption, sizeof caption);
    // Only once shown: the dialog is filled before it becomes visible.
    if (processId == find->processId && std::strcmp(caption, kCaption) == 0 && IsWindowVisible(window)) {
        find->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND Decoder() {
    FindContext find = {gProcess.dwProcessId, nullptr};
    if (gProcess.hProcess) EnumWindows(FindDecoder, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// Memory in the decoder's process for messages that carry pointers.
struct Remote {
    void* address;
    explicit Remote(SIZE_T size)
        : address(VirtualAllocEx(gProcess.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~Remote() { VirtualFreeEx(gProcess.hProcess, address, 0, MEM_RELEASE); }
    void Write(const void* data, SIZE_T size, SIZE_T offset = 0) {
        WriteProcessMemory(gProcess.hProcess, static_cast<char*>(address) + offset, data, size, nullptr);
    }
    void Read(void* data, SIZE_T size, SIZE_T offset = 0) {
        ReadProcessMemory(gProcess.hProcess, static_cast<char*>(address) + offset, data, size, nullptr);
    }
    LPARAM At(SIZE_T offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address) + offset); }
};

std::string FieldText(HWND dialog, int id) {
    char text[16] = {0};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        10000, &copied);
    return text;
}

HWND Header(HWND dialog) {
    return reinterpret_cast<HWND>(Send(GetDlgItem(dialog, IDC_LIST), LVM_GETHEADER, 0, 0));
}

int HeaderFormat(HWND header, int column) {
    Remote remote(sizeof(HDITEMW));
    HDITEMW item = {};
    item.mask = HDI_FORMAT;
    remote.Write(&item, sizeof item);
    Send(header, HDM_GETITEMW, column, remote.At());
    remote.Read(&item, sizeof item);
    return item.fmt;
}

std::string Cell(HWND list, int row, int column) {
    Remote remote(sizeof(LVITEMW) + kCellTextCapacity * sizeof(wchar_t));
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof item));
    item.cchTextMax = kCellTextCapacity;
    remote.Write(&item, sizeof item);
    Send(list, LVM_GETITEMTEXTW, row, remote.At());
    wchar_t text[kCellTextCapacity] = {0};
    remote.Read(text, sizeof text - sizeof(wchar_t), sizeof item);
    std::string ascii;
    for (const wchar_t* p = text; *p; ++p) ascii += *p < 128 ? static_cast<char>(*p) : '#';
    return ascii;
}

void State(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(gProcess.dwThreadId, &info);
    int focus = info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
    DWORD selection = info.hwndFocus ? static_cast<DWORD>(Send(info.hwndFocus, EM_GETSEL, 0, 0)) : 0;
    HWND header = Header(dialog);
    char arrows[kColumnCount + 1] = {0};
    for (int column = 0; column < kColumnCount; ++column) {
        int format = HeaderFormat(header, column);
        arrows[column] = (format & HDF_SORTUP) ? 'U' : (format & HDF_SORTDOWN) ? 'D' : '-';
    }
    HWND list = GetDlgItem(dialog, IDC_LIST);
    std::printf("state sk=%s asc=%s ascq=%s rows=%d focus=%d sel=%u,%u arrows=%s selected=%d\n",
                FieldText(dialog, IDC_SK).c_str(), FieldText(dialog, IDC_ASC).c_str(),
                FieldText(dialog, IDC_ASCQ).c_str(), static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0)), focus,
                LOWORD(selection), HIWORD(selection), arrows,
                static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)));
}

// The width a header item's text needs: the text in the list's font, as the
// list measures it, and the header's margin on each side of it.
int HeaderTextNeeds(HWND list, HWND header, int column) {
    Remote remote(sizeof(HDITEMW) + kCellTextCapacity * sizeof(wchar_t));
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof item));
    item.cchTextMax = kCellTextCapacity;
    remote.Write(&item, sizeof item);
    Send(header, HDM_GETITEMW, column, remote.At());
    int text = static_cast<int>(Send(list, LVM_GETSTRINGWIDTHW, 0, remote.At(sizeof item)));
    return text + 2 * static_cast<int>(Send(header, HDM_GETBITMAPMARGIN, 0, 0));
}

void Columns(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_LIST), header = Header(dialog);
    std::printf("columns");
    for (int column = 0; column < kColumnCount; ++column)
        std::printf(" %d:%d", static_cast<int>(Send(list, LVM_GETCOLUMNWIDTH, column, 0)),
                    HeaderTextNeeds(list, header, column));
    RECT client;
    GetClientRect(list, &client);
    LONG style = GetWindowLongW(list, GWL_STYLE);
    std::printf(" client=%ld border=%d scrollbars=%s%s\n", client.right, GetSystemMetrics(SM_CXBORDER),
                (style & WS_VSCROLL) ? "V" : "", (style & WS_HSCROLL) ? "H" : "");
}

void Screen(HWND dialog) {
    RECT window;
    GetWindowRect(dialog, &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    std::printf("screen window=%ld,%ld,%ld,%ld work=%ld,%ld,%ld,%ld\n", window.left, window.top, window.right,
                window.bottom, work.left, work.top, work.right, work.bottom);
}

// Scans the window for a screen point where WM_NCHITTEST answers code.
bool FindHitPoint(HWND window, LRESULT code, POINT* found) {
    RECT rect;
    GetWindowRect(window, &rect);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.right - 1; x >= rect.left; --x)
            if (Send(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == code) {
                *found = {x, y};
                return true;
            }
    return false;
}

// A point on the link's anchor: found with LM_HITTEST where the control
// answers it, else a few pixels into the control, where the anchor starts
// when the text is drawn from the left.
bool LinkPoint(HWND dialog, POINT* found) {
    HWND link = GetDlgItem(dialog, IDC_LINK);
    RECT client;
    GetClientRect(link, &client);
    Remote remote(sizeof(LHITTESTINFO));
    POINT point = {6, client.bottom / 2};
    for (int y = 0; y < client.bottom; y += 2)
        for (int x = 0; x < client.right; x += 2) {
            LHITTESTINFO hit = {};
            hit.pt = {x, y};
            remote.Write(&hit, sizeof hit);
            if (Send(link, LM_HITTEST, 0, remote.At())) {
                point = {x + 2, y};
                y = client.bottom;
                break;
            }
        }
    MapWindowPoints(link, HWND_DESKTOP, &point, 1);
    *found = point;
    return true;
}

void Point(HWND dialog, const char* what, int column) {
    POINT point = {-1, -1};
    bool ok = false;
    if (std::strcmp(what, "header") == 0) {
        Remote remote(sizeof(RECT));
        HWND header = Header(dialog);
        if (Send(header, HDM_GETITEMRECT, column, remote.At())) {
            RECT rect;
            remote.Read(&rect, sizeof rect);
            point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            MapWindowPoints(header, HWND_DESKTOP, &point, 1);
            ok = true;
        }
    } else if (std::strcmp(what, "row") == 0) {
        Remote remote(sizeof(RECT));
        HWND list = GetDlgItem(dialog, IDC_LIST);
        RECT rect = {LVIR_BOUNDS, 0, 0, 0};  // the part of the row asked for goes in left
        remote.Write(&rect, sizeof rect);
        if (Send(list, LVM_GETITEMRECT, column, remote.At())) {
            remote.Read(&rect, sizeof rect);
            point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            MapWindowPoints(list, HWND_DESKTOP, &point, 1);
            ok = true;
        }
    } else if (std::strcmp(what, "link") == 0) {
        ok = LinkPoint(dialog, &point);
    } else if (std::strcmp(what, "close") == 0) {
        ok = FindHitPoint(dialog, HTCLOSE, &point);
    } else if (std::strcmp(what, "border") == 0) {
        RECT rect;
        GetWindowRect(dialog, &rect);
        for (int x = rect.right + 4; x >= rect.right - 8 && !ok; --x)
            if (Send(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, (rect.top + rect.bottom) / 2)) == HTRIGHT) {
                point = {x, (rect.top + rect.bottom) / 2};
                ok = true;
            }
    }
    if (ok) std::printf("point %ld %ld\n", point.x, point.y);
    else std::printf("point none\n");
}

std::string BytesOfHex(const char* hex) {
    std::string bytes;
    for (const char* p = hex; p[0] && p[1]; p += 2) {
        unsigned byte = 0;
        std::sscanf(p, "%2x", &byte);
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

void Launch(const char* hex) {
    std::string commandLine = BytesOfHex(hex);
    if (gProcess.hProcess) {
        CloseHandle(gProcess.hProcess);
        CloseHandle(gProcess.hThread);
    }
    gProcess = PROCESS_INFORMATION();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string buffer = commandLine;
    if (CreateProcessA(nullptr, &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &gProcess))
        std::printf("pid %lu\n", gProcess.dwProcessId);
    else
        std::printf("error %lu\n", GetLastError());
}

BOOL CALLBACK CountPopupMenus(HWND window, LPARAM count) {
    wchar_t name[16] = {0};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

std::string HexOfUtf8(const wchar_t* text) {
    static char utf8[140000];
    int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::string hex;
    char digits[3];
    for (int i = 0; i + 1 < length; ++i) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(utf8[i]));
        hex += digits;
    }
    return hex;
}

void Clipboard() {
    DWORD sequence = GetClipboardSequenceNumber();
    if (!OpenClipboard(nullptr)) {
        std::printf("clipboard busy\n");
        return;
    }
    std::string text = "none";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = "text=" + HexOfUtf8(static_cast<const wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    std::printf("clipboard seq=%lu %s\n", sequence, text.c_str());
}

void SetClipboard(const char* hex) {
    std::string utf8 = BytesOfHex(hex);
    static wchar_t text[70000];
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text, 70000);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text, length * sizeof(wchar_t));
    GlobalUnlock(memory);
    // Windows takes data only from a clipboard opened with an owner. The
    // owner goes at once, so that whoever empties the clipboard next waits
    // for no answer from this probe, which takes no messages; the text stays.
    HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    bool set = OpenClipboard(owner) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    if (owner) DestroyWindow(owner);
    if (set) {
        std::printf("clipboard seq=%lu\n", GetClipboardSequenceNumber());
        return;
    }
    GlobalFree(memory);
    std::printf("clipboard not set\n");
}

// The planted DLL's bare-name load, here and inside the decoder. The hook
// DLL runs the same load in both, and answers from the decoder on its
// window once the decoder has taken the check message from its queue.
void DllSearch(HWND dialog) {
    HMODULE hook = LoadLibraryW(QUORVEL_SEARCH_HOOK_DLL);
    auto found = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(hook, "PlantedDllFound")));
    auto check = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook, "SearchCheckHook")));
    if (!hook || !found || !check) {
        std::printf("dllsearch no hook DLL beside the probe\n");
        return;
    }
    const char* here = found() ? "found" : "missing";
    HHOOK installed = SetWindowsHookExW(WH_GETMESSAGE, check, hook, gProcess.dwThreadId);
    PostMessageW(dialog, RegisterWindowMessageW(QUORVEL_SEARCH_CHECK_MESSAGE), 0, 0);
    INT_PTR answer = 0;
    for (DWORD start = GetTickCount(); !answer && GetTickCount() - start < 30000; Sleep(50))
        answer = reinterpret_cast<INT_PTR>(GetPropW(dialog, QUORVEL_SEARCH_ANSWER_PROPERTY));
    if (installed) UnhookWindowsHookEx(installed);
    FreeLibrary(hook);
    std::printf("dllsearch probe=%s decoder=%s\n", here,
                answer == kPlantedFound ? "found" : answer == kPlantedMissing ? "missing" : "silent");
}

}  // namespace

int main() {
    // The decoder's window in the screen's own pixels, as xdotool clicks
    // them: a program that is not DPI-aware reads other programs' windows
    // scaled by the DPI under Wine 10 (as on Windows), not under Wine 8.
    SetProcessDPIAware();
    char line[140000];
    while (std::fgets(line, sizeof line, stdin)) {
        line[std::strcspn(line, "\r\n")] = 0;
        char command[32] = {0}, word[32] = {0};
        int number = 0;
        std::sscanf(line, "%31s %31s", command, word);
        std::sscanf(line, "%*s %d", &number);
        std::fprintf(stderr, "probe %lu: %.60s\n", GetTickCount(), line);
        HWND dialog = Decoder();
        if (std::strcmp(command, "quit") == 0) break;
        if (std::strcmp(command, "launch") == 0) {
            Launch(line + 7);
        } else if (std::strcmp(command, "window") == 0) {
            std::printf("window %lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(dialog)));
        } else if (std::strcmp(command, "wait") == 0) {
            DWORD code = 0;
            if (gProcess.hProcess && WaitForSingleObject(gProcess.hProcess, number) == WAIT_OBJECT_0 &&
                GetExitCodeProcess(gProcess.hProcess, &code))
                std::printf("exit %lu\n", code);
            else
                std::printf("running\n");
        } else if (std::strcmp(command, "clipboard") == 0) {
            Clipboard();
        } else if (std::strcmp(command, "setclipboard") == 0) {
            SetClipboard(word[0] ? line + 13 : "");
        } else if (!dialog) {
            std::printf("nowindow\n");
        } else if (std::strcmp(command, "state") == 0) {
            State(dialog);
        } else if (std::strcmp(command, "column") == 0) {
            HWND list = GetDlgItem(dialog, IDC_LIST);
            int rows = static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0));
            std::string cells;
            for (int row = 0; row < rows; ++row) cells += (row ? "|" : "") + Cell(list, row, number);
            std::printf("column %s\n", cells.c_str());
        } else if (std::strcmp(command, "geometry") == 0) {
            RECT client, list = ChildRectInClient(dialog, GetDlgItem(dialog, IDC_LIST)),
                         link = ChildRectInClient(dialog, GetDlgItem(dialog, IDC_LINK));
            GetClientRect(dialog, &client);
            std::printf("geometry client=%ld,%ld list=%ld,%ld,%ld,%ld link=%ld,%ld,%ld,%ld\n", client.right,
                        client.bottom, list.left, list.top, list.right, list.bottom, link.left, link.top,
                        link.right, link.bottom);
        } else if (std::strcmp(command, "columns") == 0) {
            Columns(dialog);
        } else if (std::strcmp(command, "screen") == 0) {
            Screen(dialog);
        } else if (std::strcmp(command, "frame") == 0) {
            RECT frame;
            if (std::strcmp(word, "rows") == 0) {
                HWND list = GetDlgItem(dialog, IDC_LIST);
                RECT header;
                GetWindowRect(Header(dialog), &header);
                GetClientRect(list, &frame);
                MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&frame), 2);
                frame.top += header.bottom - header.top;
            } else {
                GetWindowRect(dialog, &frame);
            }
            std::printf("frame %ld %ld %ld %ld\n", frame.left, frame.top, frame.right, frame.bottom);
        } else if (std::strcmp(command, "point") == 0) {
            int column = 0;
            std::sscanf(line, "%*s %*s %d", &column);
            Point(dialog, word, column);
        } else if (std::strcmp(command, "menu") == 0) {
            int menus = 0;
            EnumThreadWindows(gProcess.dwThreadId, CountPopupMenus, reinterpret_cast<LPARAM>(&menus));
            std::printf("menu %d\n", menus);
        } else if (std::strcmp(command, "dllsearch") == 0) {
            DllSearch(dialog);
        } else if (std::strcmp(command, "close") == 0) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            std::printf("closing\n");
        } else {
            std::printf("unknown\n");
        }
        std::fflush(stdout);
    }
    return 0;
}
