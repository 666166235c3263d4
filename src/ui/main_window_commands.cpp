// The main window's commands: the menu, the accelerators and the arrow buttons end here.
#include "ui/main_window.h"

#include "storage/pad_document.h"
#include "storage/pad_file_merge.h"
#include "support/messages.h"
#include "support/texts.h"
#include "support/util.h"
#include "ui/about_window.h"
#include "ui/command_ids.h"
#include "ui/dialogs.h"
#include "ui/dpi.h"
#include "ui/layout.h"
#include "ui/link_text.h"
#include "ui/magic_click_window.h"
#include "ui/modal_moment.h"
#include "ui/pad_host.h"
#include "ui/search_window.h"

#include <commdlg.h>
#include <io.h>

namespace {

// Set while a Quit command runs, so that the windows it closes one after another collect the
// reopen list together.
int quitting = 0;

std::vector<std::string> pad_filters() { return {texts.pad_filter, "*.nib"}; }

HWND focus_window() { return GetFocus(); }

bool readable_file(const std::string& path) { return !path.empty() && _access(path.c_str(), 4) == 0; }

// Whether two names name one file (as spelled, or through their short forms when the file exists).
bool same_file(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (lstrcmpiA(a.c_str(), b.c_str()) == 0) return true;
    const std::string shortA = short_path(a), shortB = short_path(b);
    return !shortA.empty() && lstrcmpiA(shortA.c_str(), shortB.c_str()) == 0;
}

}  // namespace

std::int32_t MainWindow::onCommand(unsigned id) {
    PadHost& host = *thePadHost;
    switch (id) {
    case CMD_NEW_NIB:
        commitText();
        pad.new_nib();
        showCurrent();
        SetFocus(textField->hwnd);
        return 0;
    case CMD_DELETE_NIB:
        // Unsaved typing in the nib goes with it.
        pad.delete_current();
        markChanged();
        showCurrent();
        return 0;
    case CMD_NEW_PAD: host.newPad(SW_SHOWNORMAL); return 0;
    case CMD_OPEN_PAD: {
        std::string path, name;
        if (!userChose(*this, [&] { return file_dialog(open_mode, open_directory, hwnd, pad_filters(), path, name); }))
            return 0;
        host.openPad(path);
        return 1;
    }
    case CMD_CLOSE_PAD: SendMessageA(hwnd, WM_CLOSE, 0, 0); return 0;
    case CMD_SAVE:
    case CMD_SAVE_AS:
    case CMD_SAVE_COPY_AS: return save(id);
    case CMD_SYNCHRONIZE: {
        std::string path, name;
        if (!userChose(*this, [&] { return file_dialog(open_mode, sync_directory, hwnd, pad_filters(), path, name); }))
            return 0;
        return static_cast<std::int32_t>(SendMessageA(hwnd, WM_SYNCWITH, reinterpret_cast<WPARAM>(path.c_str()), 0));
    }
    case CMD_IMPORT:
    case CMD_EXPORT_FOUND: return exchangeText(id);
    case CMD_QUIT: return quit();
    case CMD_UNDO: SendMessageA(focus_window(), WM_UNDO, 0, 0); return 0;
    case CMD_CUT: SendMessageA(focus_window(), WM_CUT, 0, 0); return 0;
    case CMD_COPY: SendMessageA(focus_window(), WM_COPY, 0, 0); return 0;
    case CMD_PASTE: SendMessageA(focus_window(), WM_PASTE, 0, 0); return 0;
    case CMD_DELETE: SendMessageA(focus_window(), WM_CLEAR, 0, 0); return 0;
    case CMD_SELECT_ALL: SendMessageA(focus_window(), EM_SETSEL, 0, -1); return 0;
    case CMD_INSERT_FILE_LINK: {
        std::string path, name;
        if (!userChose(*this,
                       [&] { return file_dialog(open_mode, insert_directory, hwnd, {texts.all_filter, "*.*"}, path, name); }))
            return 0;
        const std::string link = encode_file_link(path);
        SendMessageA(textField->hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(link.c_str()));
        return 0;
    }
    case CMD_FIRST:
    case CMD_LAST:
    case CMD_PREVIOUS:
    case CMD_NEXT:
    case CMD_PREVIOUS_BUTTON:
    case CMD_NEXT_BUTTON: return navigate(id);
    case CMD_FIND_FIELD:
        SetFocus(findField->hwnd);
        SendMessageA(hwnd, WM_COMMAND, CMD_SELECT_ALL, 0);
        return 0;
    case CMD_TEXT_FIELD: SetFocus(textField->hwnd); return 0;
    case CMD_SWITCH_FIELD:
        SetFocus(focus_window() == findField->hwnd ? textField->hwnd : findField->hwnd);
        return 0;
    case CMD_PUT_FIRST:
    case CMD_PUT_LAST:
    case CMD_MOVE_TOWARDS_BEGINNING:
    case CMD_MOVE_TOWARDS_END:
    case CMD_ORDER_ALPHABETICALLY: return arrange(id);
    case CMD_CHOOSE_FONT: return chooseFont();
    case CMD_OTHER_SETTINGS: waitForUser(*this, [&] { askOtherSettings(hwnd); }); return 0;
    case CMD_HELP: {
        const std::string path = directory_of(program_path()) + texts.help_file;
        if (!MagicClickWindow::shellOpen(hwnd, path, SW_SHOWNORMAL)) raise_failed_call(0, texts.help_missing, -1);
        return 0;
    }
    case CMD_ABOUT: new AboutWindow(); return 0;
    default: return 0;
    }
}

std::int32_t MainWindow::navigate(unsigned id) {
    commitText();
    const std::int32_t p = pad.position(), n = pad.found_count();
    switch (id) {
    case CMD_FIRST: pad.go_to(1); break;
    case CMD_LAST: pad.go_to(n); break;
    case CMD_NEXT:
    case CMD_NEXT_BUTTON:
        if (p < n)
            pad.next();
        else
            pad.go_to(1);
        break;
    default:
        if (p > 1)
            pad.previous();
        else
            pad.go_to(n);
        break;
    }
    showCurrent();
    // An arrow button keeps no focus (it shows no cue): typing goes on in the field it came from.
    if ((id == CMD_PREVIOUS_BUTTON || id == CMD_NEXT_BUTTON) && activeField) SetFocus(activeField->hwnd);
    return 0;
}

std::int32_t MainWindow::arrange(unsigned id) {
    commitText();
    const std::int32_t c = pad.current(), n = pad.count();
    switch (id) {
    case CMD_PUT_FIRST: pad.move_current(0); break;
    case CMD_PUT_LAST: pad.move_current(n - 1); break;
    case CMD_MOVE_TOWARDS_BEGINNING:
        if (c > 0) pad.move_current(c - 1);
        break;
    case CMD_MOVE_TOWARDS_END:
        if (c < n - 1) pad.move_current(c + 1);
        break;
    default: pad.sort_alphabetically(); break;
    }
    markChanged();
    showCurrent();
    return 0;
}

std::int32_t MainWindow::save(unsigned id) {
    if (id == CMD_SAVE && !padChanged && !textChanged && !fileName.empty()) return 1;
    std::string path, name;
    if (id != CMD_SAVE_COPY_AS) {
        path = fileName;
        name = title;
    }
    if (id != CMD_SAVE || fileName.empty()) {
        const int slot = id == CMD_SAVE_COPY_AS ? save_copy_directory : save_directory;
        if (!userChose(*this, [&] { return file_dialog(save_mode, slot, hwnd, pad_filters(), path, name); }))
            return 0;
    }
    commitText();

    PadFileHeader header;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    // A minimised or maximised window stores its restored rectangle.
    if (GetWindowPlacement(hwnd, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        // In 96-DPI units: the pad opens the same size on a screen of another DPI.
        header.placement = WindowPlacement{to_units(normal.left, dpi), to_units(normal.top, dpi),
                                           to_units(normal.right - normal.left, dpi),
                                           to_units(normal.bottom - normal.top, dpi)};
    }
    header.font = PadFont{fontName, fontSize};
    // What a newer version wrote there goes only with the user's word.
    if (written_by_newer_version(path) &&
        askUser(*this, fill_message(texts.newer_file_save_question, path), texts.newer_file,
                MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
        return 0;
    // The pad's own file takes in what another program wrote to it meanwhile, never written
    // over; any other file the user chose to replace is replaced. The merge shows even when the
    // write then fails.
    const bool ownFile = same_file(path, fileName);
    if (ownFile) {
        const Uuid current = pad.nibs()[pad.current()].id;
        if (merge_file_changes(path, pad, fileState, NewerFile::take)) showMerged(current);
    }
    write_pad_file(path, header, pad);
    if (ownFile || id != CMD_SAVE_COPY_AS) fileState = file_signature(path);

    if (id != CMD_SAVE_COPY_AS) {
        fileName = path;
        title = name;
        padChanged = 0;
        pad.mark_saved();
        recovery.remove();
        CHECK_CALL(SetWindowTextA(hwnd, title.c_str()));
    }
    return 1;
}

std::int32_t MainWindow::quit() {
    PadHost& host = *thePadHost;
    // The outermost Quit starts the reopen list; the windows it closes fill it.
    if (!quitting) host.restartCommand.clear();
    quitting = 1;
    // From here on this window and its object may be gone.
    const LRESULT closed = SendMessageA(hwnd, WM_CLOSE, 0, 0);
    if (closed && !host.windows.empty())
        SendMessageA(host.windows.front()->hwnd, WM_COMMAND, CMD_QUIT, 0);
    if (host.windows.empty()) PostQuitMessage(0);
    quitting = 0;
    return 0;
}

std::int32_t MainWindow::chooseFont() {
    // The font dialog measures heights at the system's DPI; the size is kept in 96-DPI units.
    const int dialogDpi = system_dpi();
    LOGFONTA font{};
    font.lfHeight = -to_pixels(thePadHost->fontSize, dialogDpi);
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, fontName.c_str(), LF_FACESIZE);
    CHOOSEFONTA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = hwnd;
    choice.lpLogFont = &font;
    choice.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (!userChose(*this, [&] { return ChooseFontA(&choice); })) return 0;
    // The font is kept in the pad file, and new pads take it too.
    padChanged = 1;
    fontSize = to_units(-font.lfHeight, dialogDpi);
    fontName = font.lfFaceName;
    thePadHost->fontSize = fontSize;
    thePadHost->fontName = fontName;
    makeFonts();
    SendMessageA(hwnd, WM_NEWFONTS, 0, 0);
    return 0;
}

MainWindow::SaveAnswer MainWindow::askSaveChanges() {
    if (!padChanged && !textChanged) return SaveAnswer::no;
    if (thePadHost->autosave && !fileName.empty()) return SaveAnswer::yes;
    const std::string question = fill_message(texts.save_changes_question, windowText());
    // A window closed some other way meanwhile is not closed again.
    switch (askUser(*this, question, texts.save_changes_title, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return SaveAnswer::yes;
    case IDNO: return SaveAnswer::no;
    default: return SaveAnswer::cancel;
    }
}

MainWindow::SaveResult MainWindow::saveBeforeClosing() {
    try {
        // Called directly rather than sent, so that a failed save is seen here.
        return onCommand(CMD_SAVE) ? SaveResult::saved : SaveResult::cancelled;
    } catch (const msg_exception& error) {
        tellUser(*this, error);
        if (!thePadHost->autosave || closing()) return SaveResult::failed;
        const std::string question = fill_message(texts.save_problem_question, title);
        const int answer = askUser(*this, question, texts.close_window, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
        return answer == IDYES ? SaveResult::abandoned : SaveResult::failed;
    }
}

LRESULT MainWindow::onClose() {
    // The window's own question is still open (a close box, a Quit elsewhere): it answers first.
    if (modalMoments || closing()) return 0;
    const SaveAnswer answer = askSaveChanges();
    if (answer == SaveAnswer::cancel) return 0;
    if (answer == SaveAnswer::yes) {
        const SaveResult saved = saveBeforeClosing();
        if (saved == SaveResult::cancelled || saved == SaveResult::failed) return 0;
    }
    // The reopen list: the most recently closed pad first, each quoted and followed by a blank.
    if (readable_file(fileName))
        thePadHost->restartCommand = "\"" + short_path(fileName) + "\" " + thePadHost->restartCommand;
    // Out of the list at once; the window itself goes once the code running in it returns.
    unlist();
    destroy();
    return 1;
}

LRESULT MainWindow::onQueryEndSession() {
    const SaveAnswer answer = askSaveChanges();
    if (answer == SaveAnswer::cancel) return FALSE;
    if (answer == SaveAnswer::no) return TRUE;
    // A save that was cancelled or failed keeps the session from ending, so no edit is lost.
    const SaveResult saved = saveBeforeClosing();
    return saved == SaveResult::saved || saved == SaveResult::abandoned;
}
