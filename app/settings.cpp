#include "settings.h"

#include <cstring>

#include "../clip/history.h"
#include "regkey.h"
#include "state.h"

// A path cut to fit would name another folder or program, so a stored
// path longer than a path buffer is treated as missing.
static void ReadPath(RegKey& reg, const char* name, char* dst)
{
    char whole[kPathCap + 4];   // room to see a cut even after a character boundary
    if (reg.ReadString(name, whole, sizeof whole) < kPathCap && PathFits(whole))
        CopyText(dst, kPathCap, whole);
    else
        dst[0] = '\0';
}

// A list longer than its field keeps its whole extensions only: one cut
// inside an extension would exclude the files of another.
static void ReadExtensions(RegKey& reg, char* dst)
{
    char whole[kTextCap + 2];   // room to see a cut even after a character boundary
    if (reg.ReadString("Ext", whole, sizeof whole) >= kTextCap) {
        whole[kTextCap - 1] = '\0';
        char* cut = strrchr(whole, ';');   // ";" is never the second byte of a character
        *(cut ? cut + 1 : whole) = '\0';
    }
    CopyText(dst, kTextCap, whole);
    if (!dst[0])
        CopyText(dst, kTextCap, DEFAULT_EXCLUDED_EXT);
}

// The programs whose copies are never recorded: a list longer than its
// field keeps its whole names only, as a name cut short would match
// another program. Missing, the password managers' defaults.
static void ReadExclusions(RegKey& reg, char* dst)
{
    char whole[kListCap + 2];   // room to see a cut even after a character boundary
    int length = reg.ReadString("HistoryExclude", whole, sizeof whole);
    if (length == 0) {
        CopyText(dst, kListCap, DEFAULT_HISTORY_EXCLUDE);
        return;
    }
    if (length >= kListCap) {
        whole[kListCap - 1] = '\0';
        char* cut = strrchr(whole, ';');
        *(cut ? cut + 1 : whole) = '\0';
    }
    CopyText(dst, kListCap, whole);
}

static void LoadHistorySettings(RegKey& reg)
{
    // Only a stored value says "off": a missing one is the default.
    DWORD size = kHistoryDefault;
    if (!reg.ReadBinary("HistorySize", &size, sizeof size))
        size = kHistoryDefault;
    g_app->historySize = size > kHistoryMax ? kHistoryMax : (int)size;
    g_app->historyMemoryOnly = reg.ReadDword("HistoryMemoryOnly") != 0;
    g_app->historyAtTop = reg.ReadDword("HistoryAtTop") != 0;
    ReadExclusions(reg, g_app->historyExclude);
}

static void SaveHistorySettings(RegKey& reg)
{
    reg.WriteDword("HistorySize", (DWORD)g_app->historySize);
    reg.WriteDword("HistoryMemoryOnly", g_app->historyMemoryOnly ? 1 : 0);
    reg.WriteDword("HistoryAtTop", g_app->historyAtTop ? 1 : 0);
    // An emptied list is kept empty: "" would read back as the default.
    reg.WriteString("HistoryExclude", g_app->historyExclude[0] ? g_app->historyExclude : ";");
}

BOOL LoadSettings(const char* cmdline, RECT* saved)
{
    RegKey reg(REG_BASE_PATH, SETTINGS_KEY, false);
    ReadPath(reg, "Boot", g_app->bootFolder);
    ChooseFolders(cmdline);

    // Bytes past the block (from a later version) do not reset the options.
    if (!reg.ReadBinary("OptNum", g_app->options, kOptionCount, true))
        g_app->options[ExcludeExt] = 1;
    ReadPath(reg, "Edit", g_app->editorPath);
    if (!g_app->editorPath[0])
        CopyText(g_app->editorPath, kPathCap, DEFAULT_EDITOR);
    ReadExtensions(reg, g_app->excludedExt);
    ReadPath(reg, "Browser", g_app->browserPath);
    LoadHotKeySettings(reg, &g_app->hotKey);
    LoadHistorySettings(reg);

    // A short or inverted rectangle would make an unusable window.
    RECT rect = {0, 0, 0, 0};
    BOOL read = reg.ReadBinary("Pos", &rect, sizeof rect) && rect.right > rect.left &&
                rect.bottom > rect.top;
    if (read && saved)
        *saved = rect;
    reg.Close();
    return read;
}

BOOL SaveSettings(HWND mainWindow)
{
    RegKey reg(REG_BASE_PATH, SETTINGS_KEY, false);
    reg.WriteString("Ver", PRODUCT_VERSION);
    reg.WriteString("Boot", g_app->bootFolder);
    reg.WriteBinary("OptNum", g_app->options, kOptionCount);
    reg.WriteString("Edit", g_app->editorPath);
    reg.WriteString("Ext", g_app->excludedExt);
    reg.WriteString("Browser", g_app->browserPath);
    SaveHotKeySettings(reg, &g_app->hotKey);
    SaveHistorySettings(reg);
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(mainWindow, &rect);
    BOOL written = reg.WriteBinary("Pos", &rect, sizeof rect);
    reg.Close();
    return written;
}
