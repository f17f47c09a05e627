#include "hotkeytext.h"

#include <cstdio>
#include <cstring>

#include "../store/chars.h"

namespace {

struct KeyName {
    const char* name;
    unsigned char vk;
};

// Keys a paste table or the hot key may name besides letters, digits and
// F1-F24. The first name of a code is the one written.
const KeyName kKeyNames[] = {
    {"Insert", 0x2D}, {"Ins", 0x2D},    {"Delete", 0x2E}, {"Del", 0x2E},
    {"Space", 0x20},  {"Enter", 0x0D},  {"Tab", 0x09},    {"Esc", 0x1B},
    {"Back", 0x08},   {"Home", 0x24},   {"End", 0x23},    {"PageUp", 0x21},
    {"PageDown", 0x22}, {"Left", 0x25}, {"Up", 0x26},     {"Right", 0x27},
    {"Down", 0x28},   {"Pause", 0x13},
};

const struct {
    const char* name;
    unsigned char bit;
} kModNames[] = {{"Ctrl", kModCtrl}, {"Shift", kModShift}, {"Alt", kModAlt}};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c; }

bool SameNoCase(const char* a, size_t aLength, const char* b)
{
    size_t bLength = strlen(b);
    if (aLength != bLength)
        return false;
    for (size_t i = 0; i < aLength; ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

// The key code of one name (no modifiers), or 0.
unsigned char KeyCode(const char* name, size_t length)
{
    if (length == 1) {
        char c = name[0];
        if (c >= 'a' && c <= 'z')
            c = (char)(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return (unsigned char)c;
        return 0;
    }
    if ((name[0] == 'F' || name[0] == 'f') && length <= 3) {
        int n = 0;
        for (size_t i = 1; i < length; ++i) {
            if (name[i] < '0' || name[i] > '9')
                return 0;
            n = n * 10 + (name[i] - '0');
        }
        return n >= 1 && n <= 24 ? (unsigned char)(0x70 + n - 1) : 0;
    }
    for (const KeyName& key : kKeyNames)
        if (SameNoCase(name, length, key.name))
            return key.vk;
    return 0;
}

bool Append(char* out, size_t cap, size_t* used, const char* text)
{
    size_t length = strlen(text);
    if (*used + length + 1 > cap)
        return false;
    memcpy(out + *used, text, length + 1);
    *used += length;
    return true;
}

}  // namespace

char RowMnemonic(int row)
{
    if (row < 0 || row >= kMnemonicRows)
        return 0;
    if (row < 9)
        return (char)('1' + row);
    if (row == 9)
        return '0';
    return (char)('A' + row - 10);
}

bool MenuLabel(char* out, size_t cap, int row, const char* text, int columns)
{
    static const char kEllipsis[] = u8"…";
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    size_t used = 0;
    char mnemonic = RowMnemonic(row);
    if (mnemonic) {
        char prefix[4] = {'&', mnemonic, ' ', '\0'};
        if (!Append(out, cap, &used, prefix))
            return out[0] = '\0', false;
    }
    // Measure first: the ellipsis takes two columns of its own.
    int total = 0;
    for (const char* p = text; p && *p; p += CharBytesAt(p))
        total += CharColumns(p);
    int room = total > columns ? columns - 2 : columns;
    int shown = 0;
    for (const char* p = text; p && *p;) {
        unsigned bytes = CharBytesAt(p);
        int width = CharColumns(p);
        if (shown + width > room)
            break;
        char piece[5] = {};
        memcpy(piece, p, bytes);
        if (bytes == 1 && (unsigned char)p[0] < 0x20)
            piece[0] = ' ';
        if (bytes == 1 && p[0] == '&')
            piece[1] = '&';
        if (!Append(out, cap, &used, piece))
            return out[0] = '\0', false;
        shown += width;
        p += bytes;
    }
    if (total > columns && !Append(out, cap, &used, kEllipsis))
        return out[0] = '\0', false;
    return true;
}

size_t CrLfSize(const char* text)
{
    size_t size = 1;
    for (const char* p = text; p && *p; ++p)
        size += (*p == '\n' && (p == text || p[-1] != '\r')) ? 2 : 1;
    return size;
}

bool CopyCrLf(char* dst, size_t cap, const char* text)
{
    if (!dst || cap == 0)
        return false;
    if (CrLfSize(text) > cap) {
        dst[0] = '\0';
        return false;
    }
    size_t used = 0;
    // A line feed is never part of a longer character, so bytes will do.
    for (const char* p = text; p && *p; ++p) {
        if (*p == '\n' && (p == text || p[-1] != '\r'))
            dst[used++] = '\r';
        dst[used++] = *p;
    }
    dst[used] = '\0';
    return true;
}

bool ParseKeyCombo(const char* text, KeyCombo* combo)
{
    if (!text || !combo)
        return false;
    KeyCombo found = {0, 0};
    const char* p = text;
    while (*p == ' ')
        ++p;
    for (;;) {
        const char* end = p;
        while (*end && *end != '+')
            ++end;
        size_t length = (size_t)(end - p);
        while (length > 0 && p[length - 1] == ' ')
            --length;
        if (length == 0 || found.vk)
            return false;   // an empty piece, or something after the key
        bool modifier = false;
        for (const auto& mod : kModNames)
            if (SameNoCase(p, length, mod.name)) {
                found.mods |= mod.bit;
                modifier = true;
            }
        if (!modifier && !(found.vk = KeyCode(p, length)))
            return false;
        if (!*end)
            break;
        p = end + 1;
        while (*p == ' ')
            ++p;
    }
    if (!found.vk)
        return false;
    *combo = found;
    return true;
}

bool FormatKeyCombo(char* out, size_t cap, KeyCombo combo)
{
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    size_t used = 0;
    for (const auto& mod : kModNames)
        if ((combo.mods & mod.bit) && (!Append(out, cap, &used, mod.name) ||
                                       !Append(out, cap, &used, "+")))
            return out[0] = '\0', false;
    char key[8] = "";
    unsigned char vk = combo.vk;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        snprintf(key, sizeof key, "%c", (char)vk);
    else if (vk >= 0x70 && vk <= 0x87)
        snprintf(key, sizeof key, "F%d", vk - 0x70 + 1);
    else {
        for (const KeyName& name : kKeyNames)
            if (name.vk == vk) {
                if (!Append(out, cap, &used, name.name))
                    return out[0] = '\0', false;
                return true;
            }
        snprintf(key, sizeof key, "0x%02X", vk);
    }
    if (!Append(out, cap, &used, key))
        return out[0] = '\0', false;
    return true;
}

unsigned HotKeyModifiers(unsigned char mods)
{
    // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4.
    return ((mods & kModAlt) ? 1u : 0u) | ((mods & kModCtrl) ? 2u : 0u) |
           ((mods & kModShift) ? 4u : 0u);
}

bool FindPasteKeys(const char* table, const char* className, KeyCombo* combo)
{
    if (!table || !className || !className[0])
        return false;
    for (const char* p = table; *p;) {
        const char* end = strchr(p, ';');
        size_t length = end ? (size_t)(end - p) : strlen(p);
        const char* equals = (const char*)memchr(p, '=', length);
        if (equals && SameNoCase(p, (size_t)(equals - p), className)) {
            char keys[64];
            size_t keyLength = length - (size_t)(equals + 1 - p);
            if (keyLength >= sizeof keys)
                return false;
            memcpy(keys, equals + 1, keyLength);
            keys[keyLength] = '\0';
            return ParseKeyCombo(keys, combo);
        }
        p += length;
        if (*p == ';')
            ++p;
    }
    return false;
}

bool PasteTableToLines(const char* table, char* out, size_t cap)
{
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    size_t used = 0;
    for (const char* p = table; p && *p; ++p) {
        const char* piece = *p == ';' ? "\r\n" : nullptr;
        char one[2] = {*p, '\0'};
        if (!Append(out, cap, &used, piece ? piece : one))
            return out[0] = '\0', false;
    }
    // No empty last line for the trailing ";".
    if (used >= 2 && out[used - 2] == '\r')
        out[used - 2] = '\0';
    return true;
}

bool PasteTableFromLines(const char* lines, char* out, size_t cap, int* badLine)
{
    int line = 0;
    size_t used = 0;
    if (badLine)
        *badLine = -1;
    if (!out || cap == 0)
        return false;
    out[0] = '\0';
    for (const char* p = lines; p && *p; ++line) {
        const char* end = strchr(p, '\n');
        size_t length = end ? (size_t)(end - p) : strlen(p);
        char piece[kLabelColumns * 4];
        size_t trimmed = length;
        while (trimmed > 0 && (p[trimmed - 1] == '\r' || p[trimmed - 1] == ' '))
            --trimmed;
        if (trimmed > 0) {
            KeyCombo combo;
            const char* equals = (const char*)memchr(p, '=', trimmed);
            bool good = trimmed < sizeof piece && equals && equals > p &&
                        !memchr(p, ';', trimmed);
            if (good) {
                memcpy(piece, p, trimmed);
                piece[trimmed] = '\0';
                good = ParseKeyCombo(piece + (equals - p) + 1, &combo);
            }
            if (!good) {
                if (badLine)
                    *badLine = line;
                return out[0] = '\0', false;
            }
            if (!Append(out, cap, &used, piece) || !Append(out, cap, &used, ";"))
                return out[0] = '\0', false;
        }
        p += length;
        if (*p == '\n')
            ++p;
    }
    return true;
}
