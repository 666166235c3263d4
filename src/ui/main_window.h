#pragma once
// The window of one open pad: the find field, the text field showing the current nib, the
// position label and the two arrow buttons. It owns the pad in memory and the pad's fonts.
// Create it with new (or through Application::openPad/newPad); the window owns the object.
#include "model/pad.h"
#include "storage/file_signature.h"
#include "ui/recovery_slot.h"
#include "ui/window.h"

#include <cstdint>
#include <string>

class SearchWindow;
class MagicClickWindow;

// Private messages of the main window. The text argument is a zero-terminated string in wParam.
enum MainWindowMessage : UINT {
    WM_NEWFONTS = WM_USER + 2,
    WM_ISYOURPAD = WM_USER + 3,
    WM_SETFIND = WM_USER + 4,
    WM_FOLLOWLINK = WM_USER + 5,
    WM_SYNCWITH = WM_USER + 6,
};

// The property that marks a main window complete, so that a later start may hand its requests to it.
inline constexpr const char* readyForHandOver = "Scrivel.ReadyForHandOver";

// Control ids of the main window's children.
enum MainWindowControl : int {
    findFieldId = 101,
    textFieldId = 102,
    statusLabelId = 103,
    prevButtonId = 104,
    nextButtonId = 105,
};

class MainWindow : public Window {
public:
    // A new pad, shown with `show`; `path` (usually empty) is the file it will be saved to.
    MainWindow(int show, const std::string& path);
    // The pad in the file at `path`. Throws the file's errors, or silent_exception when the user
    // declines to open a file of a newer version. No window remains when it throws.
    explicit MainWindow(const std::string& path);
    ~MainWindow() override;

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Makes findFont and textFont from fontName and fontSize, and labelFont from the program's
    // label font, all at the window's DPI, deleting the old ones.
    void makeFonts();
    // Shows the current nib, selects the match, sets the position label and the arrow buttons.
    void showCurrent();
    // Stores a pending edit of the text field into the current nib.
    void commitText();
    // Applies the find field's text as the query.
    void applyFind();
    // One command of the menu, an accelerator or an arrow button; see main_window_commands.cpp.
    std::int32_t onCommand(unsigned id);
    // Takes the changes of a session that ended unexpectedly into the pad, which is then changed.
    void takeRecovery(Pad&& changes);
    // The separator for one import or export, asked over `owner` starting from `current`; empty on Cancel.
    static std::string askSeparator(HWND owner, const std::string& current);

    HFONT findFont = nullptr;
    HFONT textFont = nullptr;
    HFONT labelFont = nullptr;
    // In 96-DPI units, as pad files and settings keep it.
    std::int32_t fontSize = 0;
    // The DPI of the window's monitor: what it draws at. Sizes are kept in 96-DPI units and scaled.
    int dpi = 96;
    std::string fontName;
    SearchWindow* findField = nullptr;
    MagicClickWindow* textField = nullptr;
    Window* activeField = nullptr;
    HWND statusLabel = nullptr;
    HWND prevButton = nullptr;
    HWND nextButton = nullptr;
    Pad pad;
    std::int32_t textChanged = 0;
    std::int32_t padChanged = 0;
    std::string fileName;
    std::string title;
    // The pad file as this window last read or wrote it: a change made elsewhere since then is
    // merged in before the window writes the file, and when the window is activated.
    FileSignature fileState;
    // The unsaved changes, kept for the next start should this session end unexpectedly.
    RecoverySlot recovery;

private:
    // The constructor's own hold on the window: a close asked for while it runs waits for it, and
    // the constructor then gives up instead of showing a window that is to go.
    class Construction {
    public:
        explicit Construction(MainWindow& window);
        ~Construction();
        Construction(const Construction&) = delete;
        Construction& operator=(const Construction&) = delete;

    private:
        MainWindow& window;
    };
    static void registerClass();
    // Takes the window out of the list of open pads.
    void unlist() noexcept;
    void deleteFonts() noexcept;
    // The constructors' last step: shows the window in front and lists it.
    void present(int show);
    // What a failing constructor undoes.
    void undoConstruction() noexcept;
    // Merges what another program wrote to the pad's file since this window last read or wrote it.
    void takeFileChanges();
    // After a merge: the nib that was current stays current, and the find field's query applies.
    void showMerged(const Uuid& current);
    // After creation: a window that the system put on a monitor of another DPI takes that DPI.
    void adoptMonitorDpi();
    // Recovery (main_window_recovery.cpp): written at each commit and shortly after typing,
    // by a timer that runs from the first change on, so that continuous typing is kept too.
    void markChanged();
    void keepRecovery();
    void writeRecovery();
    void saveRecovery();
    void onRecoveryTimer();
    bool recoveryDue = false;
    bool recoveryReported = false;
    // The title-bar text: the title, or "New Pad".
    std::string windowText() const;

    // Message handlers (main_window_messages.cpp).
    LRESULT onCreate();
    void onDestroy();
    void onSize(WPARAM type, LPARAM size);
    void onPaint();
    LRESULT onDrawItem(const DRAWITEMSTRUCT& item);
    LRESULT onNotify(WPARAM wParam, LPARAM lParam);
    void onInitMenuPopup(HMENU menu, int position);
    LRESULT onClose();
    LRESULT onQueryEndSession();
    LRESULT onCopyData(const COPYDATASTRUCT& record);
    void onNewFonts();
    // The window moved to a monitor of another DPI: it takes the suggested place and redraws at the new DPI.
    void onDpiChanged(int newDpi, const RECT& suggested);
    LRESULT onIsYourPad(const char* path);
    LRESULT onSetFind(const char* query, bool followLink);
    LRESULT onSyncWith(const char* path);

    // Closing and saving (main_window_commands.cpp).
    enum class SaveAnswer { yes, no, cancel };
    // The answer to "Save changes?", asked only when the pad changed and Autosave cannot answer.
    SaveAnswer askSaveChanges();
    // saved: written or nothing to write; cancelled: the user cancelled the file dialog; failed:
    // the error was shown and the window is to stay; abandoned: failed, but the user lets it close.
    enum class SaveResult { saved, cancelled, failed, abandoned };
    SaveResult saveBeforeClosing();
    std::int32_t save(unsigned id);
    std::int32_t navigate(unsigned id);
    std::int32_t arrange(unsigned id);
    std::int32_t quit();
    std::int32_t chooseFont();
    // Import and Export Found (main_window_text_files.cpp).
    std::int32_t exchangeText(unsigned id);
};
