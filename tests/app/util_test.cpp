#include "temp_directory.h"

#include "support/messages.h"
#include "support/util.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <fstream>
#include <iterator>

TEST(ShellNames, ShortPathsAndDisplayNames) {
    TempDirectory directory;
    std::string file = directory.create_file("A Rather Long File Name.nib");
    std::string short_form = short_path(file);
    EXPECT_FALSE(short_form.empty());
    EXPECT_EQ(short_form.find(' '), std::string::npos) << short_form;
    EXPECT_EQ(short_path(directory.path() + "missing.nib"), "");

    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(program_path(), short_path(module));

    EXPECT_NE(display_name(file).find("A Rather Long File Name"), std::string::npos) << display_name(file);
    EXPECT_EQ(display_name(directory.path() + "no such pad.nib"), "no such pad.nib");
}

TEST(ShellFolders, FoldersAndShortcuts) {
    std::string desktop = special_folder_path(CSIDL_DESKTOPDIRECTORY);
    EXPECT_NE(GetFileAttributesA(desktop.c_str()), INVALID_FILE_ATTRIBUTES) << desktop;
    EXPECT_EQ(special_folder_path(0x7e), "");

    TempDirectory directory;
    std::string target = directory.create_file("target.nib");
    std::string link = directory.path() + "Scrivel.lnk";
    ASSERT_GE(CoInitialize(nullptr), 0);
    EXPECT_GE(create_shortcut(target, link, "Scrivel application"), 0);
    CoUninitialize();
    std::ifstream file(link, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes[0], 0x4c) << "shell link header";
    EXPECT_NE(bytes.find("target.nib"), std::string::npos);
}

TEST(Centring, RectanglesAndWindows) {
    RECT rect{10, 20, 110, 70};
    center_rect(rect, 0, 0, 400, 300);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 125);
    EXPECT_EQ(rect.right, 250);
    EXPECT_EQ(rect.bottom, 175);
    // Odd sizes in a negative area: each half truncates toward zero.
    rect = RECT{0, 0, 5, 3};
    center_rect(rect, -11, -7, 0, 0);
    EXPECT_EQ(rect.left, -7);
    EXPECT_EQ(rect.top, -4);

    RECT screen = screen_rect();
    EXPECT_EQ(screen.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.bottom, GetSystemMetrics(SM_CYSCREEN));
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND owned = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 60, owner, nullptr, nullptr, nullptr);
    HWND alone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    center_window(owned);
    center_window(alone);
    GetWindowRect(owned, &rect);
    EXPECT_EQ(rect.left, 250);
    EXPECT_EQ(rect.top, 170);
    GetWindowRect(alone, &rect);
    EXPECT_EQ(rect.left, screen.right / 2 - 100);
    EXPECT_EQ(rect.top, screen.bottom / 2 - 50);
    DestroyWindow(alone);
    DestroyWindow(owner);
    EXPECT_THROW(center_window(alone), msg_exception);
}

TEST(DrawMaskedBitmap, ImageWhereTheMaskIsWhiteButtonFaceElsewhere) {
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 20);
    HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HGDIOBJ old_canvas = SelectObject(target, canvas);

    // Image: red on the left, black on the right; mask white on the left, black on the right.
    HDC paint = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(paint, image);
    RECT left{0, 0, 8, 16}, all{0, 0, 16, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(paint, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(paint, &left, red);
    SelectObject(paint, mask);
    FillRect(paint, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(paint, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(paint, old);
    DeleteDC(paint);

    RECT whole{0, 0, 20, 20}, where{2, 2, 18, 18};
    FillRect(target, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw_masked_bitmap(image, mask, target, where);
    EXPECT_EQ(GetPixel(target, 3, 10), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target, 16, 10), GetNearestColor(target, GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(GetPixel(target, 0, 0), RGB(255, 255, 255)) << "outside the rectangle";

    SelectObject(target, old_canvas);
    DeleteObject(red);
    DeleteObject(mask);
    DeleteObject(image);
    DeleteObject(canvas);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}
