#include "paths.h"

#include "../app/winver.h"
#include "pathtext.h"
#include "textbuf.h"

bool ModuleFolder(char* out, size_t cap)
{
    char file[kPathCap];
    if (out && cap)
        out[0] = '\0';
    DWORD n = GetModuleFileNameA(NULL, file, sizeof file);
    if (n == 0 || n >= sizeof file)
        return false;
    return ParentPath(file, out, cap) >= 0;
}
