#include "ui/main_window.h"

#include "storage/pad_document.h"
#include "storage/pad_file_merge.h"
#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/dpi.h"
#include "ui/layout.h"
#include "ui/modal_moment.h"
#include "ui/pad_host.h"
#include "ui/search_window.h"
#include "ui/magic_click_window.h"

#include <string>

void MainWindow::registerClass() {
    const std::string& name = thePadHost->productName;
    // The class's menu is the product's menu resource, so every main window gets it.
    Window::registerClass(name.c_str(), COLOR_3DFACE, name.c_str());
}

MainWindow::MainWindow(int show, const std::string& path) : Window(nullptr), fileName(path) {
    try {
        PadHost& host = *thePadHost;
        // Every new main window starts the collection of closed pads anew.
        host.restartCommand.clear();
        registerClass();
        fontSize = host.fontSize;
        fontName = host.fontName;
        dpi = system_dpi();
        makeFonts();
        RECT place{0, 0, to_pixels(host.defaultWinWidth, dpi), to_pixels(host.defaultWinHeight, dpi)};
        fitToWorkArea(place);
        if (!fileName.empty()) {
            title = display_name(fileName);
            fileState = file_signature(fileName);
        }
        createWindow(0, host.productName.c_str(), windowText().c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                     CW_USEDEFAULT, place.right - place.left, place.bottom - place.top, nullptr);
        const Construction running(*this);
        adoptMonitorDpi();
        present(show);
    } catch (...) {
        undoConstruction();
        throw;
    }
}

MainWindow::MainWindow(const std::string& path) : Window(nullptr), fileName(path) {
    try {
        PadHost& host = *thePadHost;
        host.restartCommand.clear();
        registerClass();
        title = display_name(fileName);
        // Before the read, so that a change made while reading is merged in later, not missed.
        fileState = file_signature(fileName);
        PadFileReader reader(fileName);
        const PadFileHeader& header = reader.header();
        fontName = header.font ? header.font->name : host.fontName;
        fontSize = header.font ? header.font->size : host.fontSize;
        dpi = system_dpi();
        makeFonts();

        RECT place{0, 0, to_pixels(host.defaultWinWidth, dpi), to_pixels(host.defaultWinHeight, dpi)};
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
        if (const auto& stored = header.placement) {
            const int left = to_pixels(stored->left, dpi), top = to_pixels(stored->top, dpi);
            place = {left, top, left + to_pixels(stored->width, dpi), top + to_pixels(stored->height, dpi)};
            fitToWorkArea(place);
            x = place.left;
            y = place.top;
        } else {
            fitToWorkArea(place);
        }
        createWindow(0, host.productName.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, x, y, place.right - place.left,
                     place.bottom - place.top, nullptr);
        const Construction running(*this);
        adoptMonitorDpi();
        // No answer when the window was closed meanwhile: then it never opens.
        if (header.newer() &&
            askUser(*this, fill_message(texts.newer_file_question, fileName), texts.newer_file, MB_YESNO) != IDYES)
            throw silent_exception();
        reader.read_pad(pad);
        showCurrent();
        present(SW_SHOWNORMAL);
    } catch (...) {
        undoConstruction();
        throw;
    }
}

MainWindow::Construction::Construction(MainWindow& window) : window(window) { window.enterCode(); }

MainWindow::Construction::~Construction() { window.leaveCode(); }

void MainWindow::present(int show) {
    // Closed while it was being made (a Quit, the end of the session): it never shows.
    if (closing()) throw silent_exception();
    ShowWindow(hwnd, show);
    SetForegroundWindow(hwnd);
    CHECK_CALL(UpdateWindow(hwnd));
    if (closing()) throw silent_exception();
    // Complete: from here on other windows, Quit and later starts find it.
    thePadHost->windows.push_back(this);
    CHECK_CALL(SetPropA(hwnd, readyForHandOver, reinterpret_cast<HANDLE>(1)));
}

void MainWindow::undoConstruction() noexcept {
    // No window remains, and the fonts go with the object that never was.
    abandonWindow();
    deleteFonts();
}

MainWindow::~MainWindow() { deleteFonts(); }

void MainWindow::deleteFonts() noexcept {
    for (HFONT* font : {&findFont, &textFont, &labelFont})
        if (*font) DeleteObject(std::exchange(*font, nullptr));
}

void MainWindow::adoptMonitorDpi() {
    // A window may open on a monitor whose DPI is not the system's.
    const int actual = window_dpi(hwnd);
    if (actual == dpi) return;
    RECT place;
    CHECK_CALL(GetWindowRect(hwnd, &place));
    place.right = place.left + MulDiv(place.right - place.left, actual, dpi);
    place.bottom = place.top + MulDiv(place.bottom - place.top, actual, dpi);
    onDpiChanged(actual, place);
}

void MainWindow::makeFonts() {
    deleteFonts();
    labelFont = scaled_font(thePadHost->boldFont, dpi);
    LOGFONTA description{};
    description.lfHeight = -to_pixels(fontSize, dpi);
    description.lfWeight = FW_NORMAL;
    // A face name from a pad file may be longer than the record holds: it is cut, never overrun.
    lstrcpynA(description.lfFaceName, fontName.c_str(), LF_FACESIZE);
    findFont = CHECK_CALL(CreateFontIndirectA(&description));
    textFont = CHECK_CALL(CreateFontIndirectA(&description));
}

std::string MainWindow::windowText() const { return title.empty() ? texts.new_pad : title; }

void MainWindow::showCurrent() {
    const std::string& text = pad.current_text();
    std::string shown;
    textField->getText(shown);
    // Setting an unchanged text again would lose the caret and the scroll position.
    if (shown != text) CHECK_CALL(SetWindowTextA(textField->hwnd, text.c_str()));

    std::string query;
    findField->getText(query);
    const std::int32_t match = pad.current_match_pos();
    if (match != -1)
        SendMessageA(textField->hwnd, EM_SETSEL, match, match + static_cast<LPARAM>(query.size()));
    else
        SendMessageA(textField->hwnd, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendMessageA(textField->hwnd, EM_SCROLLCARET, 0, 0);
    textChanged = 0;

    // With nothing found there is no position: "0 of 0", as at the window's creation.
    const std::int32_t position = pad.found_count() > 0 ? pad.position() : 0;
    const std::string label = std::to_string(position) + " " + texts.of + " " + std::to_string(pad.found_count());
    CHECK_CALL(SetWindowTextA(statusLabel, label.c_str()));
    EnableWindow(prevButton, position > 1);
    EnableWindow(nextButton, position < pad.found_count());
}

void MainWindow::commitText() {
    if (!textChanged) return;
    std::string text;
    textField->getText(text);
    pad.set_current_text(text);
    padChanged = 1;
    textChanged = 0;
    writeRecovery();
}

void MainWindow::applyFind() {
    commitText();
    std::string query;
    findField->getText(query);
    pad.find(query);
    showCurrent();
}

void MainWindow::takeFileChanges() {
    if (fileName.empty()) return;
    commitText();
    const Uuid current = pad.nibs()[pad.current()].id;
    // The window's unsaved changes stay unsaved; what came from the file is in the file already.
    if (merge_file_changes(fileName, pad, fileState, NewerFile::skip)) showMerged(current);
}

void MainWindow::showMerged(const Uuid& current) {
    // A merge leaves the first nib current and no query in force.
    const auto& nibs = pad.nibs();
    for (std::size_t i = 0; i < nibs.size(); ++i)
        if (uuid_equal(nibs[i].id, current)) pad.go_to(static_cast<std::int32_t>(i) + 1);
    applyFind();
}
