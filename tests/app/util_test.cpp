#include "app_test_support.h"

#include "support/util.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <iterator>
#include <utility>

TEST(Shell, ShortPathsDisplayNamesFoldersAndShortcuts) {
    TempDirectory directory;
    const std::string file = directory.create_file("A Rather Long File Name.nib");
    const std::string short_form = short_path(file);
    EXPECT_TRUE(!short_form.empty() && short_form.find(' ') == std::string::npos) << short_form;
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(program_path(), short_path(module)) << "the form the registry entries are written in";
    EXPECT_NE(display_name(file).find("A Rather Long File Name"), std::string::npos) << display_name(file);
    EXPECT_EQ(display_name(directory.path() + "no such pad.nib"), "no such pad.nib");
    EXPECT_EQ(special_folder_path(0x7e), "") << "an unknown folder, for which a fallback is taken";
    const std::string link = directory.path() + "Scrivel.lnk";
    ASSERT_GE(CoInitialize(nullptr), 0);
    EXPECT_GE(create_shortcut(file, link, "Scrivel application"), 0);
    // A path too long to convert is refused, not saved cut off under another name.
    const std::string too_long = directory.path() + std::string(MAX_PATH, 'x') + ".lnk";
    EXPECT_LT(create_shortcut(file, too_long, "Scrivel application"), 0);
    CoUninitialize();
    std::ifstream stream(link, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("A Rather Long File Name.nib"), std::string::npos) << "the link names its target";
}

TEST(Centring, OverTheOwnerOrTheScreen) {
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 100, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
    HWND owned = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 60, owner, nullptr, nullptr, nullptr);
    HWND alone = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    center_window(owned);
    center_window(alone);
    auto corner = [](HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        return std::pair{rect.left, rect.top};
    };
    EXPECT_EQ(corner(owned), std::pair(250L, 170L));
    const long middle_x = GetSystemMetrics(SM_CXSCREEN) / 2, middle_y = GetSystemMetrics(SM_CYSCREEN) / 2;
    EXPECT_EQ(corner(alone), std::pair(middle_x - 100, middle_y - 50));
    DestroyWindow(alone);
    DestroyWindow(owner);
    EXPECT_THROW(center_window(alone), msg_exception);
}

TEST(DrawMaskedBitmap, ImageWhereTheMaskIsWhiteButtonFaceElsewhere) {
    HDC screen = GetDC(nullptr);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 20), image = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    const RECT left{0, 0, 8, 16}, all{0, 0, 16, 16}, whole{0, 0, 20, 20}, where{2, 2, 18, 18};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    auto white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    // Image: red on the left, black on the right; mask white on the left, black on the right.
    auto paint = [&](HBITMAP bitmap, HBRUSH left_half) {
        MemoryDC dc(screen);
        dc.select(bitmap);
        FillRect(dc.get(), &all, black);
        FillRect(dc.get(), &left, left_half);
    };
    paint(image, red);
    paint(mask, white);
    {
        MemoryDC target(screen);
        target.select(canvas);
        FillRect(target.get(), &whole, white);
        draw_masked_bitmap(image, mask, target.get(), where);
        EXPECT_EQ(GetPixel(target.get(), 3, 10), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(target.get(), 16, 10), GetNearestColor(target.get(), GetSysColor(COLOR_BTNFACE)));
        EXPECT_EQ(GetPixel(target.get(), 0, 0), RGB(255, 255, 255)) << "outside the rectangle";
    }
    for (HGDIOBJ object : {HGDIOBJ(red), HGDIOBJ(mask), HGDIOBJ(image), HGDIOBJ(canvas)}) DeleteObject(object);
    ReleaseDC(nullptr, screen);
}
