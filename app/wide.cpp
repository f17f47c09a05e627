#include "wide.h"

#include <cstring>
#include <vector>

#include "../store/utf8.h"

std::wstring Utf8ToWide(const char* utf8, size_t length)
{
    std::wstring out;
    out.reserve(length);
    for (size_t i = 0; i < length;) {
        uint32_t cp = 0xFFFD;
        size_t n = DecodeUtf8(utf8 + i, length - i, &cp);
        i += n ? n : 1;
        if (cp >= 0x10000) {
            out.push_back((wchar_t)(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back((wchar_t)(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back((wchar_t)cp);
        }
    }
    return out;
}

// By code point, so a lone surrogate is one U+FFFD and nothing depends on
// how the system treats it.
std::string WideToUtf8(const wchar_t* wide, size_t units)
{
    std::string out;
    out.reserve(units + units / 2);
    char seq[4];
    for (size_t i = 0; i < units; ++i) {
        uint32_t cp = (uint16_t)wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && (uint16_t)wide[i + 1] >= 0xDC00 &&
            (uint16_t)wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + ((uint16_t)wide[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        out.append(seq, EncodeUtf8(cp, seq));
    }
    return out;
}

static std::wstring CodePageToWide(UINT codePage, const char* text, size_t length)
{
    if (length == 0 || length > 0x7FFFFFF)
        return std::wstring();
    int need = MultiByteToWideChar(codePage, 0, text, (int)length, NULL, 0);
    if (need <= 0)
        return std::wstring();
    std::wstring out((size_t)need, L'\0');
    MultiByteToWideChar(codePage, 0, text, (int)length, &out[0], need);
    return out;
}

std::wstring Widen(const char* text)
{
    if (!text)
        return std::wstring();
    size_t length = strlen(text);
    return Utf8ToWide(text, length);
}

bool ToWide(const char* text, wchar_t* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = L'\0';
    if (!text || !IsValidUtf8(text, strlen(text)))
        return false;
    std::wstring wide = Widen(text);
    // Bytes that are no text of the program's form give nothing at all.
    if (wide.size() >= cap || (text[0] && wide.empty()))
        return false;
    memcpy(out, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    return true;
}

std::string Narrow(const wchar_t* wide, int length)
{
    size_t units = !wide ? 0 : length < 0 ? wcslen(wide) : (size_t)length;
    return WideToUtf8(wide, units);
}

bool FromWide(const wchar_t* wide, int length, char* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    std::string text = Narrow(wide, length);
    if (text.size() >= cap)
        return false;
    memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

size_t FromWideCut(const wchar_t* wide, int length, char* out, size_t cap)
{
    if (!out || cap == 0)
        return 0;
    std::string text = Narrow(wide, length);
    size_t keep = text.size() < cap ? text.size() : cap - 1;
    keep = Utf8SafeLength(text.data(), keep);
    memcpy(out, text.data(), keep);
    out[keep] = '\0';
    return keep;
}

extern HINSTANCE g_hInstance;

int LoadText(UINT id, char* out, size_t cap)
{
    if (!out || cap == 0)
        return 0;
    out[0] = '\0';
    // With no room given, the wide form hands back the resource itself.
    const wchar_t* resource = NULL;
    int units = LoadStringW(g_hInstance, id, (LPWSTR)&resource, 0);
    return units > 0 ? (int)FromWideCut(resource, units, out, cap) : 0;
}

std::string LoadTextString(UINT id)
{
    const wchar_t* resource = NULL;
    int units = LoadStringW(g_hInstance, id, (LPWSTR)&resource, 0);
    return units > 0 ? Narrow(resource, units) : std::string();
}

std::string TextOf(HWND window)
{
    int units = window ? GetWindowTextLengthW(window) : 0;
    if (units <= 0)
        return std::string();
    std::vector<wchar_t> wide((size_t)units + 1);
    int got = GetWindowTextW(window, wide.data(), units + 1);
    return Narrow(wide.data(), got > 0 ? got : 0);
}

bool GetTextOf(HWND window, char* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    std::string text = TextOf(window);
    if (text.size() >= cap)
        return false;
    memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

BOOL SetTextOf(HWND window, const char* text)
{
    return SetWindowTextW(window, Widen(text ? text : "").c_str());
}

bool GetItemText(HWND dialog, int id, char* out, size_t cap)
{
    return GetTextOf(GetDlgItem(dialog, id), out, cap);
}

BOOL SetItemText(HWND dialog, int id, const char* text)
{
    return SetTextOf(GetDlgItem(dialog, id), text);
}

bool Cp932ToUtf8(const char* bytes, size_t length, std::string* out)
{
    if (length == 0) {
        out->clear();
        return true;
    }
    if (length > 0x7FFFFFF)
        return false;
    // A name or a line converts in one call into the stack; a folder of a
    // hundred thousand names is read at every visit.
    wchar_t small[512];
    if (length <= 512) {
        int made = MultiByteToWideChar(kStoredCodePage, MB_ERR_INVALID_CHARS, bytes, (int)length,
                                       small, 512);
        if (made <= 0)
            return false;
        *out = WideToUtf8(small, (size_t)made);
        return true;
    }
    int need = MultiByteToWideChar(kStoredCodePage, MB_ERR_INVALID_CHARS, bytes, (int)length,
                                   NULL, 0);
    if (need <= 0)
        return false;
    std::vector<wchar_t> wide((size_t)need);
    MultiByteToWideChar(kStoredCodePage, MB_ERR_INVALID_CHARS, bytes, (int)length, wide.data(),
                        need);
    *out = WideToUtf8(wide.data(), wide.size());
    return true;
}

bool Utf8ToCp932(const char* utf8, size_t length, std::string* out)
{
    if (length == 0) {
        out->clear();
        return true;
    }
    if (length > 0x7FFFFFF || !IsValidUtf8(utf8, length))
        return false;
    std::wstring wide = Utf8ToWide(utf8, length);
    BOOL lost = FALSE;
    int need = WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                                   (int)wide.size(), NULL, 0, NULL, &lost);
    if (need <= 0 || lost)
        return false;
    std::string bytes((size_t)need, '\0');
    WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(),
                        &bytes[0], need, NULL, &lost);
    // The way back must give the same text: some characters map to bytes
    // that read as another character.
    std::string back;
    if (lost || !Cp932ToUtf8(bytes.data(), bytes.size(), &back) ||
        back.compare(0, std::string::npos, utf8, length) != 0)
        return false;
    *out = std::move(bytes);
    return true;
}

// ---- The library's stored text ----

static bool IsAscii(const char* bytes, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if ((unsigned char)bytes[i] >= 0x80)
            return false;
    return true;
}

std::string StoredToProgram(const char* bytes, size_t length, int form)
{
    // ASCII is the same in every form, and most keys are ASCII.
    if (IsAscii(bytes, length) || (form == 1 && IsValidUtf8(bytes, length)))
        return std::string(bytes, length);
    if (form == 1) {
        std::wstring wide = Utf8ToWide(bytes, length);
        return WideToUtf8(wide.data(), wide.size());
    }
    std::string text;
    if (Cp932ToUtf8(bytes, length, &text))
        return text;
    std::wstring wide = CodePageToWide(kStoredCodePage, bytes, length);
    return WideToUtf8(wide.data(), wide.size());
}

bool ProgramToStored(const char* text, size_t length, int form, std::string* out)
{
    if (form == 1 || IsAscii(text, length)) {
        out->assign(text, length);
        return true;
    }
    return Utf8ToCp932(text, length, out);
}

// ---- Shown text ----

size_t ToWideCut(const char* text, wchar_t* out, size_t cap)
{
    if (!out || cap == 0)
        return 0;
    std::wstring wide = Widen(text);
    size_t keep = wide.size() < cap ? wide.size() : cap - 1;
    // A pair of surrogates is one character: never the first without the second.
    if (keep < wide.size() && keep > 0 && (uint16_t)wide[keep - 1] >= 0xD800 &&
        (uint16_t)wide[keep - 1] <= 0xDBFF)
        --keep;
    memcpy(out, wide.data(), keep * sizeof(wchar_t));
    out[keep] = L'\0';
    return keep;
}
