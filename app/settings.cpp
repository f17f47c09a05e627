#include "settings.h"

#include <cstring>

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
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(mainWindow, &rect);
    BOOL written = reg.WriteBinary("Pos", &rect, sizeof rect);
    reg.Close();
    return written;
}
