#include "wide.h"

#include <cstring>
#include <vector>

#include "../store/utf8.h"

bool ToWide(const char* utf8, wchar_t* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = L'\0';
    if (!utf8)
        return false;
    if (!utf8[0])
        return true;
    // With -1 the count includes the terminator; zero means no room or a
    // sequence that is not UTF-8.
    int made = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, out,
                                   cap > 0x7FFFFFFF ? 0x7FFFFFFF : (int)cap);
    if (made <= 0) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

std::wstring Widen(const char* utf8)
{
    if (!utf8 || !utf8[0])
        return std::wstring();
    int need = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, NULL, 0);
    if (need <= 0)
        return std::wstring();
    std::wstring out((size_t)need, L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &out[0], need);
    out.resize((size_t)need - 1);
    return out;
}

// UTF-16 to UTF-8 by code point, so a lone surrogate is one U+FFFD and
// nothing depends on how the system treats it.
static std::string NarrowUnits(const wchar_t* wide, size_t units)
{
    std::string out;
    out.reserve(units);
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

static size_t Units(const wchar_t* wide, int length)
{
    return !wide ? 0 : length < 0 ? wcslen(wide) : (size_t)length;
}

bool FromWide(const wchar_t* wide, int length, char* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    std::string text = NarrowUnits(wide, Units(wide, length));
    if (text.size() >= cap)
        return false;
    memcpy(out, text.c_str(), text.size() + 1);
    return true;
}

std::string Narrow(const wchar_t* wide, int length)
{
    return NarrowUnits(wide, Units(wide, length));
}

bool Cp932ToUtf8(const char* bytes, size_t length, std::string* out)
{
    if (length == 0) {
        out->clear();
        return true;
    }
    if (length > 0x7FFFFFFF)
        return false;
    int need = MultiByteToWideChar(kStoredCodePage, MB_ERR_INVALID_CHARS, bytes, (int)length,
                                   NULL, 0);
    if (need <= 0)
        return false;
    std::vector<wchar_t> wide((size_t)need);
    MultiByteToWideChar(kStoredCodePage, MB_ERR_INVALID_CHARS, bytes, (int)length, wide.data(),
                        need);
    *out = NarrowUnits(wide.data(), wide.size());
    return true;
}

bool Utf8ToCp932(const char* utf8, size_t length, std::string* out)
{
    if (length == 0) {
        out->clear();
        return true;
    }
    if (length > 0x7FFFFFFF || !IsValidUtf8(utf8, length))
        return false;
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, (int)length, NULL, 0);
    if (units <= 0)
        return false;
    std::vector<wchar_t> wide((size_t)units);
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, (int)length, wide.data(), units);
    BOOL lost = FALSE;
    int need = WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), units, NULL,
                                   0, NULL, &lost);
    if (need <= 0 || lost)
        return false;
    std::string bytes((size_t)need, '\0');
    WideCharToMultiByte(kStoredCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), units, &bytes[0], need,
                        NULL, &lost);
    // The way back must give the same text: some characters map to bytes
    // that read as another character.
    std::string back;
    if (lost || !Cp932ToUtf8(bytes.data(), bytes.size(), &back) ||
        back.compare(0, std::string::npos, utf8, length) != 0)
        return false;
    *out = std::move(bytes);
    return true;
}
