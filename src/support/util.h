#pragma once
// Shell, file-dialog and window utilities of the Windows program. The pure text helpers
// (command lines, directories) live in util_text.h and are included here for the callers' ease.
#include "support/util_text.h"

#include <windows.h>

#include <array>
#include <string>
#include <vector>

// The remembered directories of the file dialogs, one per purpose; the Application owns them.
enum DirectorySlot {
    open_directory = 0,
    save_directory = 1,
    import_directory = 2,
    export_directory = 3,
    insert_directory = 4,
    sync_directory = 5,
    save_copy_directory = 6,
};
inline constexpr int directory_slot_count = 7;
using DirectorySlots = std::array<std::string, directory_slot_count>;

enum FileDialogMode { open_mode = 0, save_mode = 1 };

// Hands the file dialogs the instance handle and the directories they read and update.
// Until this is called (or after it is called with null directories) they keep directories of their own.
void bind_file_dialogs(HINSTANCE instance, DirectorySlots* directories);

// Shows the common open or save dialog. `filters` holds name, pattern, name, pattern ...
// Starts in the slot's remembered directory when `path` is empty. Returns non-zero when the user
// chose a file: `path` is then its full path and `title` its name without the directory, and the
// slot remembers its directory. Returns 0 on cancel or failure and shows nothing.
int file_dialog(int mode, int slot, HWND owner, const std::vector<std::string>& filters, std::string& path,
                std::string& title);

// The system's answers about the program's own file and short names. Tests replace them to meet
// what Wine never shows: a program folder with blanks on a volume without short (8.3) names.
struct PathQueries {
    DWORD(WINAPI* module_file_name)(HMODULE, LPSTR, DWORD);
    DWORD(WINAPI* short_path_name)(LPCSTR, LPSTR, DWORD);
};
extern PathQueries path_queries;

// The short (8.3) form of an existing path, or its long form on a volume without short names;
// empty when it does not exist.
std::string short_path(const std::string& path);
// Whether a file or folder of that name is there.
bool path_exists(const std::string& path);

// The short path of this program's own file (not the command line's first word); empty when it
// cannot be found.
std::string program_path();

// The name under which the shell shows a file; the name after the last separator when the shell
// does not know the file.
std::string display_name(const std::string& path);

// Moves `rect`, keeping its size, so that it is centred in the area.
void center_rect(RECT& rect, LONG left, LONG top, LONG right, LONG bottom);

// (0, 0, width, height) of the screen.
RECT screen_rect();

// Centres a window over its parent, or over the screen when it has none.
void center_window(HWND window);

// A memory device context that gives back its original bitmap and goes away with its scope.
class MemoryDC {
public:
    explicit MemoryDC(HDC like);
    ~MemoryDC();
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;

    void select(HBITMAP bitmap);
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// Draws `image` into `rect` of `dc`. The mask is white where the image shows; where it is black,
// the button face shows through (the image should be black there).
void draw_masked_bitmap(HBITMAP image, HBITMAP mask, HDC dc, const RECT& rect);

// Writes a shortcut file that opens `target`. Returns the system status (negative on failure, also
// when the target is refused, the shortcut's path is too long or the file cannot be written).
// COM must have been started on the calling thread.
HRESULT create_shortcut(std::string target, std::string shortcut_file, std::string description);

// The file-system path of a shell folder (a CSIDL number); empty when the system has none.
std::string special_folder_path(int folder);
