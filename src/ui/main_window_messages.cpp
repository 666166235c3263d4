// The main window's message table: find, commit, layout and painting, menus, closing, and the
// private messages through which the program's other parts talk to a pad window.
#include "ui/main_window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/command_ids.h"
#include "ui/copy_data.h"
#include "ui/dpi.h"
#include "ui/layout.h"
#include "ui/magic_click_window.h"
#include "ui/modal_moment.h"
#include "ui/pad_host.h"
#include "ui/resource_ids.h"
#include "ui/search_window.h"
#include "ui/button_window.h"

#include <algorithm>

namespace {

// Menu-bar positions of the popups whose items follow the window's state.
constexpr int edit_menu = 1, go_menu = 2, arrange_menu = 3;

void gray_if(HMENU menu, unsigned id, bool grayed) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (grayed ? MF_GRAYED : MF_ENABLED));
}

const char* text_argument(WPARAM wParam) { return wParam ? reinterpret_cast<const char*>(wParam) : ""; }

// tmHeight + tmExternalLeading of a font on the window's device context.
int line_height(HDC dc, HFONT font) {
    SelectObject(dc, font);
    TEXTMETRICA metrics;
    CHECK_CALL(GetTextMetricsA(dc, &metrics));
    return metrics.tmHeight + metrics.tmExternalLeading;
}

void place(HWND control, const ControlPlace& at) {
    CHECK_CALL(MoveWindow(control, at.x, at.y, at.width, at.height, TRUE));
}

}  // namespace

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return onCreate();
    case WM_DESTROY: onDestroy(); return 0;
    case WM_SIZE: onSize(wParam, lParam); return 0;
    case WM_SETFOCUS:
        if (activeField) SetFocus(activeField->hwnd);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) takeFileChanges();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: onPaint(); return 0;
    case WM_TIMER: onRecoveryTimer(); return 0;
    case WM_DRAWITEM: return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CLOSE: return onClose();
    case WM_QUERYENDSESSION: return onQueryEndSession();
    case WM_ENDSESSION:
        if (wParam) {
            // A window waiting on a question of its own goes once the question returns.
            if (modalMoments)
                destroy();
            else
                SendMessageA(hwnd, WM_CLOSE, 0, 0);
            thePadHost->saveSettings();
        }
        return 0;
    case WM_INITMENUPOPUP:
        if (HIWORD(lParam) == 0) {
            onInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam));
            if (LOWORD(lParam) == edit_menu || LOWORD(lParam) == go_menu) return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_COMMAND: return onNotify(wParam, lParam);
    case WM_COPYDATA: return onCopyData(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_NEWFONTS: onNewFonts(); return 0;
    case WM_DPICHANGED: onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_ISYOURPAD: return onIsYourPad(text_argument(wParam));
    case WM_SETFIND: return onSetFind(text_argument(wParam), false);
    case WM_FOLLOWLINK: return onSetFind(text_argument(wParam), true);
    case WM_SYNCWITH: return onSyncWith(text_argument(wParam));
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT MainWindow::onCreate() {
    PadHost& host = *thePadHost;
    textField = new MagicClickWindow(this, textFieldId);
    SendMessageA(textField->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), 0);
    findField = new SearchWindow(this, textField, findFieldId);
    SendMessageA(findField->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(findFont), 0);
    statusLabel = CHECK_CALL(CreateWindowExA(0, "static", ("0 " + std::string(texts.of) + " 0").c_str(),
                                             WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, hwnd,
                                             reinterpret_cast<HMENU>(statusLabelId), host.instance, nullptr));
    SendMessageA(statusLabel, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont), 0);
    prevButton = (new ButtonWindow(this, prevButtonId))->hwnd;
    nextButton = (new ButtonWindow(this, nextButtonId))->hwnd;
    SetFocus(findField->hwnd);
    showCurrent();
    return 0;
}

void MainWindow::onDestroy() {
    unlist();
    RemovePropA(hwnd, readyForHandOver);
}

void MainWindow::unlist() noexcept {
    auto& windows = thePadHost->windows;
    const auto entry = std::find(windows.begin(), windows.end(), this);
    if (entry != windows.end()) windows.erase(entry);
    // A clean close: what was not saved was not wanted.
    recovery.remove();
}

void MainWindow::onSize(WPARAM type, LPARAM size) {
    // Sizes come before the children exist while the window is being made.
    if (!findField) return;
    PadHost& host = *thePadHost;
    // A font change lays out again with SIZE_RESTORED: only a restored window's size is the default.
    if (type == SIZE_RESTORED && !IsZoomed(hwnd) && !IsIconic(hwnd)) {
        // New windows open at the size of the last restored one, on whichever screen.
        RECT outer;
        CHECK_CALL(GetWindowRect(hwnd, &outer));
        host.defaultWinWidth = to_units(outer.right - outer.left, dpi);
        host.defaultWinHeight = to_units(outer.bottom - outer.top, dpi);
    }
    HDC dc = CHECK_CALL(GetDC(hwnd));
    const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    int findLine = 0, labelLine = 0;
    try {
        findLine = line_height(dc, findFont);
        labelLine = line_height(dc, labelFont);
    } catch (...) {
        SelectObject(dc, original);
        ReleaseDC(hwnd, dc);
        throw;
    }
    SelectObject(dc, original);
    ReleaseDC(hwnd, dc);

    const MainLayout layout = layout_main_window(static_cast<short>(LOWORD(size)), static_cast<short>(HIWORD(size)),
                                                 host.windowMargin, host.fieldSpacing, findLine, labelLine, dpi);
    place(findField->hwnd, layout.findField);
    place(textField->hwnd, layout.textField);
    place(statusLabel, layout.statusLabel);
    place(nextButton, layout.nextButton);
    place(prevButton, layout.prevButton);
    commitText();
    showCurrent();
}

void MainWindow::onPaint() {
    PAINTSTRUCT paint;
    HDC dc = CHECK_CALL(BeginPaint(hwnd, &paint));
    // The separator line under the menu: a shadow row over a light one.
    RECT client{}, shadow{}, light{};
    bool drawn = GetClientRect(hwnd, &client);
    const int row = to_pixels(1, dpi);
    shadow = {client.left, 0, client.right, row};
    light = {client.left, row, client.right, 2 * row};
    drawn = drawn && FillRect(dc, &shadow, GetSysColorBrush(COLOR_3DSHADOW)) &&
            FillRect(dc, &light, GetSysColorBrush(COLOR_3DLIGHT));
    EndPaint(hwnd, &paint);
    CHECK_CALL(drawn);
}

LRESULT MainWindow::onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != prevButtonId && item.CtlID != nextButtonId) return FALSE;
    const bool previous = item.CtlID == prevButtonId;
    int image = previous ? IDB_PREV_NORMAL : IDB_NEXT_NORMAL;
    if (item.itemState & ODS_DISABLED)
        image = previous ? IDB_PREV_DISABLED : IDB_NEXT_DISABLED;
    else if (item.itemState & ODS_SELECTED)
        image = previous ? IDB_PREV_PRESSED : IDB_NEXT_PRESSED;
    // The image for the DPI at its own size, centred on the button face.
    const int size = arrow_image_size(dpi);
    const int set = size == 32 ? IDB_ARROWS_32 : size == 24 ? IDB_ARROWS_24 : 0;
    CHECK_CALL(FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE)));
    const RECT& button = item.rcItem;
    const int left = (button.left + button.right - size) / 2, top = (button.top + button.bottom - size) / 2;
    const auto& bitmaps = thePadHost->bitmaps;
    draw_masked_bitmap(bitmaps[set + image], bitmaps[set + (previous ? IDB_PREV_MASK : IDB_NEXT_MASK)], item.hDC,
                       RECT{left, top, left + size, top + size});
    return TRUE;
}

LRESULT MainWindow::onNotify(WPARAM wParam, LPARAM lParam) {
    const unsigned code = HIWORD(wParam), id = LOWORD(wParam);
    if (code == 0 || code == 1) return onCommand(id);
    if (id == findFieldId || id == textFieldId) {
        switch (code) {
        case EN_SETFOCUS:
            // The field to give the caret back to when the window is activated again.
            activeField = fromHandle(reinterpret_cast<HWND>(lParam));
            return 0;
        case EN_CHANGE:
            if (id == findFieldId) {
                applyFind();
            } else {
                textChanged = 1;
                keepRecovery();
            }
            return 0;
        case EN_MAXTEXT:
            if (id == textFieldId) throw msg_exception(texts.nib_full, texts.nib_full_title, style_stop);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, WM_COMMAND, wParam, lParam);
}

void MainWindow::onInitMenuPopup(HMENU menu, int position) {
    if (position == edit_menu) {
        HWND focus = GetFocus();
        DWORD start = 0, end = 0;
        if (focus) SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const bool empty = start == end;
        gray_if(menu, CMD_UNDO, !focus || SendMessageA(focus, EM_CANUNDO, 0, 0) == 0);
        gray_if(menu, CMD_CUT, empty);
        gray_if(menu, CMD_COPY, empty);
        gray_if(menu, CMD_DELETE, empty);
        gray_if(menu, CMD_PASTE, !IsClipboardFormatAvailable(CF_TEXT));
    } else if (position == go_menu) {
        const std::int32_t p = pad.position(), n = pad.found_count();
        gray_if(menu, CMD_FIRST, p == 1);
        gray_if(menu, CMD_LAST, p == n);
        gray_if(menu, CMD_PREVIOUS, p <= 1);
        gray_if(menu, CMD_NEXT, p >= n);
    } else if (position == arrange_menu) {
        const std::int32_t c = pad.current(), n = pad.count();
        gray_if(menu, CMD_PUT_FIRST, c == 0);
        gray_if(menu, CMD_PUT_LAST, c == n - 1);
        gray_if(menu, CMD_MOVE_TOWARDS_BEGINNING, c <= 0);
        gray_if(menu, CMD_MOVE_TOWARDS_END, c >= n - 1);
    }
}

LRESULT MainWindow::onCopyData(const COPYDATASTRUCT& record) {
    // The record may come from another process: its text is read within its size only.
    const std::string text = copy_data_text(record.lpData, record.cbData);
    try {
        switch (record.dwData) {
        case copyOpenPad: return reinterpret_cast<LRESULT>(thePadHost->openPad(text));
        case copyNewPad: return reinterpret_cast<LRESULT>(thePadHost->newPad(SW_SHOWNORMAL));
        case copyFind: return SendMessageA(hwnd, WM_SETFIND, reinterpret_cast<WPARAM>(text.c_str()), 0);
        case copySync: return SendMessageA(hwnd, WM_SYNCWITH, reinterpret_cast<WPARAM>(text.c_str()), 0);
        default: return 1;
        }
    } catch (const msg_exception& error) {
        // The sender need not wait for the box.
        if (InSendMessage()) ReplyMessage(1);
        tellUser(*this, error);
        return 1;
    }
}

void MainWindow::onDpiChanged(int newDpi, const RECT& suggested) {
    dpi = newDpi;
    makeFonts();
    // The new size lays the window out again.
    CHECK_CALL(SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                            suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE));
    onNewFonts();
}

void MainWindow::onNewFonts() {
    SendMessageA(findField->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(findFont), 0);
    SendMessageA(textField->hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(textFont), 0);
    SendMessageA(statusLabel, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont), 0);
    RECT client;
    CHECK_CALL(GetClientRect(hwnd, &client));
    SendMessageA(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    InvalidateRect(hwnd, &client, FALSE);
}

LRESULT MainWindow::onIsYourPad(const char* path) {
    if (fileName.empty()) return 0;
    // Two missing files both have no short path: that is no proof of the same pad. Letter case
    // may differ between two spellings of one path.
    const std::string asked = short_path(path), mine = short_path(fileName);
    if (asked.empty() || mine.empty() || lstrcmpiA(asked.c_str(), mine.c_str()) != 0) return 0;
    SetForegroundWindow(hwnd);
    return 1;
}

LRESULT MainWindow::onSetFind(const char* query, bool followLink) {
    CHECK_CALL(SetWindowTextA(findField->hwnd, query));
    applyFind();
    // A followed link moves on from the nib that holds it to the next one with the word.
    if (followLink && pad.found_count() > 1) SendMessageA(hwnd, WM_COMMAND, CMD_NEXT, 0);
    return 1;
}

LRESULT MainWindow::onSyncWith(const char* path) {
    auto* other = dynamic_cast<MainWindow*>(fromHandle(thePadHost->openPad(path)));
    // A pad synchronised with its own file has nothing to take from it; a window closed while the
    // other pad was opening takes nothing either.
    if (!other || other == this || closing() || other->closing()) return 1;
    commitText();
    other->commitText();
    Pad::synchronise(pad, other->pad);
    // Each pad now holds what its own file lacks.
    pad.mark_all_changed();
    other->pad.mark_all_changed();
    markChanged();
    other->markChanged();
    showCurrent();
    other->showCurrent();
    return 1;
}
