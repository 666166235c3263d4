#include "temp_directory.h"

#include "support/messages.h"
#include "support/util.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <fstream>
#include <iterator>

TEST(ShortPath, ShortFormOfExistingPathsOnly) {
    TempDirectory directory;
    std::string file = directory.create_file("A Rather Long File Name.nib");
    std::string short_form = short_path(file);
    ASSERT_FALSE(short_form.empty());
    EXPECT_EQ(short_form.find(' '), std::string::npos) << short_form;
    EXPECT_EQ(short_path(short_form), short_form);
    EXPECT_EQ(short_path(directory.path() + "missing.nib"), "");
    EXPECT_EQ(short_path(""), "");
}

TEST(ShortPath, ProgramPathIsThisTestProgram) {
    std::string program = program_path();
    ASSERT_FALSE(program.empty());
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(program, short_path(module));
}

TEST(DisplayName, ShellNameOrTheNameAfterTheLastSeparator) {
    TempDirectory directory;
    std::string file = directory.create_file("notes.nib");
    EXPECT_NE(display_name(file).find("notes"), std::string::npos) << display_name(file);
    EXPECT_EQ(display_name(directory.path() + "no such pad.nib"), "no such pad.nib");
    EXPECT_EQ(display_name("Z:\\no\\such\\dir/other pad.nib"), "other pad.nib");
}

TEST(SpecialFolder, KnownFoldersHaveAPathOthersNone) {
    std::string desktop = special_folder_path(CSIDL_DESKTOPDIRECTORY);
    EXPECT_FALSE(desktop.empty());
    EXPECT_NE(GetFileAttributesA(desktop.c_str()), INVALID_FILE_ATTRIBUTES) << desktop;
    EXPECT_FALSE(special_folder_path(CSIDL_PROGRAMS).empty());
    EXPECT_EQ(special_folder_path(0x7e), "");
}

TEST(CreateShortcut, WritesALinkFile) {
    TempDirectory directory;
    std::string target = directory.create_file("target.nib");
    std::string link = directory.path() + "Scrivel.lnk";
    ASSERT_GE(CoInitialize(nullptr), 0);
    HRESULT status = create_shortcut(target, link, "Scrivel application");
    CoUninitialize();
    EXPECT_GE(status, 0);
    std::ifstream file(link, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GE(bytes.size(), 20u);
    EXPECT_EQ(bytes[0], 0x4c) << "shell link header";
    EXPECT_NE(bytes.find("target.nib"), std::string::npos);
}

TEST(CenterRect, KeepsTheSizeAndCentres) {
    RECT rect{10, 20, 110, 70};
    center_rect(rect, 0, 0, 400, 300);
    EXPECT_EQ(rect.left, 150);
    EXPECT_EQ(rect.top, 125);
    EXPECT_EQ(rect.right, 250);
    EXPECT_EQ(rect.bottom, 175);

    // Odd sizes and negative areas: division truncates toward zero.
    rect = RECT{0, 0, 5, 3};
    center_rect(rect, -11, -7, 0, 0);
    EXPECT_EQ(rect.left, -5 - 2);
    EXPECT_EQ(rect.top, -3 - 1);
    EXPECT_EQ(rect.right - rect.left, 5);
    EXPECT_EQ(rect.bottom - rect.top, 3);

    // A rectangle larger than the area sticks out on both sides.
    rect = RECT{0, 0, 200, 100};
    center_rect(rect, 0, 0, 100, 50);
    EXPECT_EQ(rect.left, -50);
    EXPECT_EQ(rect.top, -25);
}

TEST(CenterWindow, CentresOverTheParentOrTheScreen) {
    RECT screen = screen_rect();
    EXPECT_EQ(screen.left, 0);
    EXPECT_EQ(screen.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.bottom, GetSystemMetrics(SM_CYSCREEN));

    HWND parent = CreateWindowExA(0, "STATIC", "parent", WS_POPUP, 100, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(parent);
    HWND child = CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 100, 60, parent, nullptr, nullptr, nullptr);
    HWND alone = CreateWindowExA(0, "STATIC", "alone", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(child && alone);

    center_window(alone);
    RECT rect;
    GetWindowRect(alone, &rect);
    EXPECT_EQ(rect.left, screen.right / 2 - 100);
    EXPECT_EQ(rect.top, screen.bottom / 2 - 50);

    // MoveWindow takes client coordinates for a child: its screen rectangle is the parent's
    // rectangle centred, shifted by the parent's position.
    center_window(child);
    RECT centred{0, 0, 100, 60};
    center_rect(centred, 100, 50, 500, 350);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left - origin.x, centred.left);
    EXPECT_EQ(rect.top - origin.y, centred.top);

    DestroyWindow(alone);
    DestroyWindow(parent);
    EXPECT_THROW(center_window(alone), msg_exception);
}

TEST(DrawMaskedBitmap, ImageWhereTheMaskIsWhiteButtonFaceElsewhere) {
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 20);
    HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HGDIOBJ old_canvas = SelectObject(target, canvas);

    // Image: red in the left half, black in the right. Mask: white left, black right.
    HDC paint = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(paint, image);
    RECT left{0, 0, 8, 16}, right{8, 0, 16, 16}, all{0, 0, 16, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(paint, &left, red);
    FillRect(paint, &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(paint, mask);
    FillRect(paint, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(paint, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(paint, old);
    DeleteDC(paint);

    RECT whole{0, 0, 20, 20};
    FillRect(target, &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT where{2, 2, 18, 18};
    draw_masked_bitmap(image, mask, target, where);

    COLORREF face = GetNearestColor(target, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(target, 3, 10), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(target, 16, 10), face);
    EXPECT_EQ(GetPixel(target, 0, 0), RGB(255, 255, 255)) << "outside the rectangle";

    // The bitmaps are free again: they can be selected elsewhere.
    HDC again = CreateCompatibleDC(screen);
    EXPECT_TRUE(SelectObject(again, mask));
    DeleteDC(again);

    SelectObject(target, old_canvas);
    DeleteObject(red);
    DeleteObject(mask);
    DeleteObject(image);
    DeleteObject(canvas);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}
