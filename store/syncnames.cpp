#include "syncnames.h"

#include <cstring>

#include "pathtext.h"

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

// text[0..length) begins with the ASCII word, without regard to case.
bool StartsWith(const char* text, size_t length, const char* word)
{
    size_t n = strlen(word);
    if (length < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (Lower(text[i]) != Lower(word[i]))
            return false;
    return true;
}

// Begins with prefix, ends with suffix, and holds something between.
bool Encloses(const char* name, size_t length, const char* prefix, const char* suffix)
{
    size_t p = strlen(prefix), s = strlen(suffix);
    return length > p + s && StartsWith(name, length, prefix) &&
           StartsWith(name + length - s, s, suffix);
}

// The entries engines and systems leave in every folder they touch.
const char* const kBookkeepingNames[] = {
    ".stfolder", ".stignore", ".stversions",                    // Syncthing
    ".dropbox", ".dropbox.attr", ".dropbox.cache",              // Dropbox
    ".tmp.drivedownload", ".tmp.driveupload",                   // Google Drive
    "desktop.ini", "Thumbs.db", ".DS_Store",                    // the systems
};

bool Digits(const char* text, int count)
{
    for (int i = 0; i < count; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    return true;
}

int Number(const char* text, int count)
{
    int n = 0;
    for (int i = 0; i < count; ++i)
        n = n * 10 + (text[i] - '0');
    return n;
}

// "YYYY" "MM" "DD" as a plausible date; "HH" "MM" as a time when given.
bool FormatMade(char* out, const char* year, const char* month, const char* day,
                const char* hour, const char* minute)
{
    int m = Number(month, 2), d = Number(day, 2);
    if (m < 1 || m > 12 || d < 1 || d > 31)
        return false;
    if (hour && (Number(hour, 2) > 23 || Number(minute, 2) > 59))
        return false;
    if (hour)
        return FormatText(out, sizeof ConflictName().made, "%.4s-%.2s-%.2s %.2s:%.2s", year,
                          month, day, hour, minute);
    return FormatText(out, sizeof ConflictName().made, "%.4s-%.2s-%.2s", year, month, day);
}

// name[0..stemEnd) + name[restAt..] as the original's name.
bool FormatOriginal(ConflictName* out, const char* name, size_t stemEnd, size_t restAt)
{
    return stemEnd > 0 && FormatText(out->original, sizeof out->original, "%.*s%s",
                                     (int)stemEnd, name, name + restAt);
}

// ".sync-conflict-YYYYMMDD-HHMMSS-DEVICE" at dot, followed by the end or
// by the extension.
bool ParseSyncthing(const char* name, size_t dot, ConflictName* out)
{
    static const char kMark[] = ".sync-conflict-";
    size_t length = strlen(name);
    const char* p = name + dot + sizeof kMark - 1;
    size_t left = length - (size_t)(p - name);
    if (left < 17 || !Digits(p, 8) || p[8] != '-' || !Digits(p + 9, 6) || p[15] != '-')
        return false;
    size_t device = 16;
    while (device < left && ((p[device] >= 'A' && p[device] <= 'Z') ||
                             (p[device] >= 'a' && p[device] <= 'z') || Digits(p + device, 1)))
        ++device;
    if (device == 16 || (device < left && p[device] != '.'))
        return false;
    return FormatMade(out->made, p, p + 4, p + 6, p + 9, p + 11) &&
           FormatOriginal(out, name, dot, (size_t)(p - name) + device);
}

// "conflicted copy YYYY-MM-DD" at at (after "(" or a space), then an
// optional " (n)", ")" and the end or the extension; the copy's group
// opens at the last " (" before it.
bool ParseDropbox(const char* name, size_t at, ConflictName* out)
{
    static const char kMark[] = "conflicted copy ";
    size_t length = strlen(name);
    const char* p = name + at + sizeof kMark - 1;
    size_t i = (size_t)(p - name);
    if (length - i < 10 || !Digits(p, 4) || p[4] != '-' || !Digits(p + 5, 2) || p[7] != '-' ||
        !Digits(p + 8, 2))
        return false;
    i += 10;
    if (StartsWith(name + i, length - i, " (")) {
        size_t j = i + 2;
        while (j < length && Digits(name + j, 1))
            ++j;
        if (j > i + 2 && name[j] == ')')
            i = j + 1;
    }
    if (name[i] != ')' || (name[i + 1] && name[i + 1] != '.'))
        return false;
    size_t open = at;
    while (open >= 2 && !(name[open - 2] == ' ' && name[open - 1] == '('))
        --open;
    if (open < 2)
        return false;
    return FormatMade(out->made, p, p + 5, p + 8, nullptr, nullptr) &&
           FormatOriginal(out, name, open - 2, i + 1);
}

}  // namespace

bool IsBookkeepingName(const char* name)
{
    if (!name)
        return false;
    size_t length = strlen(name);
    for (const char* known : kBookkeepingNames)
        if (EqualNoCase(name, known))
            return true;
    return Encloses(name, length, ".syncthing.", ".tmp") ||   // Syncthing, a file arriving
           Encloses(name, length, "~syncthing~", ".tmp") ||   // the same on Windows
           Encloses(name, length, "._", "") ||                // AppleDouble
           Encloses(name, length, "~$", "");                  // Office's owner files
}

bool ParseConflictName(const char* name, ConflictName* out)
{
    if (!name || !out)
        return false;
    // The last mark that reads: a copy of a copy names the first copy.
    size_t length = strlen(name);
    for (size_t at = length; at-- > 0;) {
        if (name[at] == '.' && StartsWith(name + at, length - at, ".sync-conflict-") &&
            ParseSyncthing(name, at, out))
            return true;
        if ((name[at] == ' ' || name[at] == '(') &&
            StartsWith(name + at + 1, length - at - 1, "conflicted copy ") &&
            ParseDropbox(name, at + 1, out))
            return true;
    }
    return false;
}

bool IsConflictCopyOf(const char* name, const char* original)
{
    ConflictName conflict;
    return ParseConflictName(name, &conflict) && EqualNoCase(conflict.original, original);
}
