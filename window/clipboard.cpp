// The clipboard: the list's selected rows go onto it as text, and a sense
// code comes off it.
#include "decoder.h"

#include "query/pasted_code.h"
#include "query/row_text.h"

namespace {

// Another program (clipboard history, a remote desktop) may hold the
// clipboard open for a moment: a few more tries a few milliseconds apart.
constexpr int kClipboardOpenAttempts = 5;
constexpr DWORD kClipboardRetryPauseMs = 2;

bool OpenClipboardPatiently(HWND owner) {
    for (int attempt = 0; attempt < kClipboardOpenAttempts; ++attempt) {
        if (attempt > 0) Sleep(kClipboardRetryPauseMs);
        if (OpenClipboard(owner)) return true;
    }
    return false;
}

// The text of these rows in memory the clipboard can take over, or null.
HGLOBAL RowsMemory(const PackedCode* codes, int count, int length) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(WideChar));
    if (!memory) return nullptr;
    WideChar* text = static_cast<WideChar*>(GlobalLock(memory));
    if (!text) {
        GlobalFree(memory);
        return nullptr;
    }
    RowsText(codes, count, text, length + 1);
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

void CopySelectedRows(HWND dialog) {
    if (!gResultList) return;
    // Each row is read from the list once; the text is then measured and
    // written from the table.
    PackedCode codes[kSenseTableCount];
    int count = SelectedRowCodes(gResultList, codes, kSenseTableCount);
    int length = RowsText(codes, count, nullptr, 0);
    if (length == 0) return;  // no row selected: the clipboard keeps what it holds
    HGLOBAL memory = RowsMemory(codes, count, length);
    if (!memory) {
        MessageBeep(MB_OK);
        return;
    }
    // Owned by the dialog, so that the clipboard takes the data after
    // EmptyClipboard; from then on the memory is the clipboard's, and it
    // stays there after the program has ended.
    bool handedOver = false;
    if (OpenClipboardPatiently(dialog)) {
        handedOver = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
    if (!handedOver) {
        GlobalFree(memory);
        MessageBeep(MB_OK);
    }
}

bool ClipboardHasText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT);
}

bool ReadCodeFromClipboard(HWND owner, PackedCode* code) {
    if (!OpenClipboardPatiently(owner)) return false;
    bool found = false;
    // Windows hands out any text format as CF_UNICODETEXT. The memory may
    // lack its terminator, so its size bounds the reading too.
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const WideChar* text = static_cast<const WideChar*>(GlobalLock(data))) {
            SIZE_T units = GlobalSize(data) / sizeof(WideChar);
            found = ReadSenseCode(text, units < kPastedTextLimit ? static_cast<int>(units) : kPastedTextLimit, code);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return found;
}
