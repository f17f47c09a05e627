#include "widetext.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "../app/state.h"
#include "../app/wide.h"
#include "../res/resource.h"
#include "copy.h"
#include "paste.h"

char* WideToProgramText(const WCHAR* text, size_t len)
{
    const WCHAR* end = text ? wmemchr(text, 0, len) : nullptr;
    if (end)
        len = end - text;
    if (!text || len > 0x3FFFFFFF)
        len = 0;
    std::string utf8 = Narrow(text, (int)len);
    char* out = (char*)malloc(utf8.size() + 1);
    if (out)
        memcpy(out, utf8.c_str(), utf8.size() + 1);
    return out;
}

char* WideBlockToProgram(HGLOBAL block)
{
    const WCHAR* text = block ? (const WCHAR*)GlobalLock(block) : nullptr;
    if (!text)
        return nullptr;
    char* out = WideToProgramText(text, GlobalSize(block) / sizeof(WCHAR));
    GlobalUnlock(block);
    return out;
}

UINT ClipboardTextCodePage()
{
    HGLOBAL block = IsClipboardFormatAvailable(CF_LOCALE) ? GetClipboardData(CF_LOCALE) : NULL;
    const LCID* locale = block && GlobalSize(block) >= sizeof(LCID) ? (const LCID*)GlobalLock(block)
                                                                     : nullptr;
    UINT codePage = CP_ACP;
    if (locale) {
        WCHAR digits[8] = L"";
        if (GetLocaleInfoW(*locale, LOCALE_IDEFAULTANSICODEPAGE, digits, 8) > 0)
            codePage = (UINT)wcstoul(digits, nullptr, 10);
        GlobalUnlock(block);
    }
    // A locale without an ANSI code page (0) or an unknown one reads as the system's.
    return codePage && IsValidCodePage(codePage) ? codePage : CP_ACP;
}

char* AnsiBlockToProgram(HGLOBAL block, SIZE_T* size, UINT codePage)
{
    SIZE_T copied = 0;
    char* copy = CopyBlockText(block, &copied);
    if (!copy)
        return nullptr;
    std::wstring wide;
    int length = (int)strlen(copy);
    int need = length ? MultiByteToWideChar(codePage, 0, copy, length, NULL, 0) : 0;
    if (need > 0) {
        wide.assign((size_t)need, L'\0');
        MultiByteToWideChar(codePage, 0, copy, length, &wide[0], need);
    }
    free(copy);
    char* text = WideToProgramText(wide.data(), wide.size());
    if (text && size)
        *size = strlen(text) + 1;
    return text;
}

char* TakeClipboardText(HWND window)
{
    if (!OpenClipboardPatiently(window))
        return nullptr;
    char* text = nullptr;
    // Unicode text whatever the source put: made by the system from an ANSI
    // source's text in that source's code page, it is exact.
    if (IsClipboardFormatAvailable(CF_UNICODETEXT))
        text = WideBlockToProgram(GetClipboardData(CF_UNICODETEXT));
    CloseClipboard();
    return text;
}
