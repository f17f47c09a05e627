#include "widetext.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "../app/state.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "copy.h"
#include "paste.h"

static void NoteLost(LostChars* lost, const WCHAR* ch, int units)
{
    ++lost->count;
    if (lost->shown >= kLostShown)
        return;
    size_t used = wcslen(lost->first);
    memcpy(lost->first + used, ch, units * sizeof(WCHAR));
    lost->first[used + units] = 0;
    ++lost->shown;
}

// One character at a time, so that each one the code page cannot hold is
// known and left out; only a text that did not convert whole comes here.
static char* ConvertEachChar(const WCHAR* text, size_t len, LostChars* lost)
{
    char* out = (char*)malloc(len * 2 + 1);
    if (!out)
        return nullptr;
    size_t used = 0;
    for (size_t i = 0; i < len;) {
        int units = IS_HIGH_SURROGATE(text[i]) && i + 1 < len && IS_LOW_SURROGATE(text[i + 1]) ? 2 : 1;
        char bytes[8];
        BOOL defaulted = FALSE;
        int n = WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, text + i, units, bytes,
                                    sizeof bytes, NULL, &defaulted);
        if (n <= 0 || defaulted || (size_t)n > 2 * (size_t)units) {
            NoteLost(lost, text + i, units);
        } else {
            memcpy(out + used, bytes, n);
            used += n;
        }
        i += units;
    }
    out[used] = '\0';
    return out;
}

char* WideToAnsiText(const WCHAR* text, size_t len, LostChars* lost)
{
    memset(lost, 0, sizeof *lost);
    const WCHAR* end = text ? wmemchr(text, 0, len) : nullptr;
    if (end)
        len = end - text;
    if (!text || len == 0 || len > 0x3FFFFFFF)
        return (char*)calloc(1, 1);
    BOOL defaulted = FALSE;
    int need = WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, text, (int)len, NULL, 0, NULL,
                                   &defaulted);
    if (need <= 0 || defaulted)
        return ConvertEachChar(text, len, lost);
    char* out = (char*)malloc((size_t)need + 1);
    if (!out)
        return nullptr;
    int made = WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, text, (int)len, out, need, NULL,
                                   NULL);
    out[made > 0 ? made : 0] = '\0';
    return out;
}

char* WideBlockToAnsi(HGLOBAL block, LostChars* lost)
{
    memset(lost, 0, sizeof *lost);
    const WCHAR* text = block ? (const WCHAR*)GlobalLock(block) : nullptr;
    if (!text)
        return nullptr;
    char* ansi = WideToAnsiText(text, GlobalSize(block) / sizeof(WCHAR), lost);
    GlobalUnlock(block);
    return ansi;
}

BOOL AcceptLostChars(HWND owner, const LostChars* lost)
{
    if (!lost || lost->count == 0)
        return TRUE;
    WCHAR format[512] = L"", caption[128] = L"", message[1024];
    LoadStringW(g_hInstance, IDS_LOST_CHARS, format, 512);
    LoadStringW(g_hInstance, IDS_CONFIRM, caption, 128);
    // The only box with text the code page may not hold: it is made wide.
    _snwprintf(message, 1023, format, lost->count, lost->first,
               lost->count > lost->shown ? L" …" : L"");
    message[1023] = 0;
    return MessageBoxW(owner, message, caption, MB_YESNO | MB_ICONWARNING) == IDYES;
}

char* AnsiBlockToProgram(HGLOBAL block, SIZE_T* size)
{
    char* copy = CopyBlockText(block, size);
    // Only where the two differ: the bytes stay as they were otherwise.
    if (!copy || (!ProgramTextIsUtf8() && GetACP() == kStoredCodePage))
        return copy;
    std::string text = FromAnsi(copy);
    char* again = (char*)malloc(text.size() + 1);
    if (again)
        memcpy(again, text.c_str(), text.size() + 1);
    free(copy);
    return again;
}

char* TakeClipboardText(HWND window)
{
    if (!OpenClipboardPatiently(window))
        return nullptr;
    LostChars lost = {};
    char* text = nullptr;
    // Unicode text whatever the source put: made by the system from an ANSI
    // source's text in that source's code page, it is exact, where the
    // system's CF_TEXT from a Unicode source would be a best fit.
    if (IsClipboardFormatAvailable(CF_UNICODETEXT))
        text = WideBlockToAnsi(GetClipboardData(CF_UNICODETEXT), &lost);
    // Not held while the user reads the question.
    CloseClipboard();
    if (text && !AcceptLostChars(window, &lost)) {
        free(text);
        return nullptr;
    }
    return text;
}
