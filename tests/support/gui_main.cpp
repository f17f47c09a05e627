// Entry point of the Wine test programs: the program's own instance and
// OLE, as the real start-up has them.
#include <ole2.h>

#include "guitest.h"

int main(int argc, char** argv)
{
    g_hInstance = GetModuleHandleA(NULL);
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(NULL)))
        return 2;
    int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
