// The unpacked release folder (argument 1) in a Wine prefix of its own, as a
// user meets it: the texts as Windows reads them, then a first run.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "app/regkey.h"
#include "app/state.h"
#include "store/folderload.h"
#include "store/order.h"

static std::string g_folder;

static std::string Bytes(const char* name)
{
    std::ostringstream bytes;
    bytes << std::ifstream(g_folder + "\\" + name, std::ios::binary).rdbuf();
    return bytes.str();
}

TEST(Package, HoldsTheProgramItsHelpAndTheTexts)
{
    EXPECT_EQ("MZ", Bytes("zoriven.exe").substr(0, 2));
    EXPECT_EQ("ITSF", Bytes("ZORIVEN.CHM").substr(0, 4));
    std::string license = Bytes("LICENSE.txt"), readme = Bytes("readme.txt");
    EXPECT_NE(std::string::npos, license.find("Copyright (c) 2026 ZORIVEN developers"));
    const std::regex bareLineEnd("\r(?!\n)|(^|[^\r])\n");
    EXPECT_FALSE(std::regex_search(license, bareLineEnd));
    EXPECT_FALSE(std::regex_search(readme, bareLineEnd));
    EXPECT_GT(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, readme.data(), (int)readme.size(),
                                  NULL, 0), 0);
    // It names what the program really writes.
    for (const char* name : {"HKEY_CURRENT_USER\\" REG_BASE_PATH "\\" PRODUCT_NAME, ORDER_FILE_NAME,
                             PARKING_FOLDER_NAME, "Item", "ZORIVEN.CHM", PRODUCT_VERSION "\r\n"})
        EXPECT_NE(std::string::npos, readme.find(name)) << name;
}

TEST(Package, StartsOnAnEmptyLibraryAndClosesCleanly)
{
    const std::string exe = g_folder + "\\zoriven.exe", library = g_folder + "\\Item";
    const char* path = REG_BASE_PATH "\\" PRODUCT_NAME;
    HKEY key;
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(library.c_str()));
    ASSERT_NE(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key));

    // Started from elsewhere, the library still lands beside the program.
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    ASSERT_TRUE(
        CreateProcessA(exe.c_str(), NULL, NULL, NULL, FALSE, 0, NULL, "C:\\", &startup, &process));
    HWND window = NULL;
    for (int i = 0; i < 300 && !IsWindowVisible(window); ++i) {
        ASSERT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(process.hProcess, 100)) << "ended early";
        window = FindWindowA(MAIN_CLASS_NAME, PRODUCT_NAME " - Item");   // the library's name
    }
    ASSERT_TRUE(IsWindowVisible(window)) << "no main window titled " PRODUCT_NAME " - Item";
    PostMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    DWORD code = 1, size = MAX_PATH;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(0u, code);

    EXPECT_TRUE(GetFileAttributesA(library.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    char boot[MAX_PATH] = "";
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueA(HKEY_CURRENT_USER, path, "Boot", RRF_RT_REG_SZ, NULL, boot, &size));
    EXPECT_EQ(0, lstrcmpiA(library.c_str(), boot)) << boot;
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    g_folder = argc > 1 ? argv[1] : "";
    return RUN_ALL_TESTS();
}
