#include "support/util.h"

#include "support/messages.h"

#include <cderr.h>
#include <commdlg.h>
#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>

namespace {

// The state of the file dialogs lasts for the whole run, so that the filter the user picked last
// carries over to the next dialog.
struct FileDialogState {
    HINSTANCE instance = nullptr;
    DirectorySlots own_directories;
    DirectorySlots* directories = &own_directories;
    OPENFILENAMEA description{};
    std::vector<char> name_buffer = std::vector<char>(256);
    char custom_filter[90] = {};
    std::string default_extension;
    bool described = false;
};

FileDialogState& dialog_state() {
    static FileDialogState state;
    return state;
}

void describe_once(FileDialogState& state) {
    if (state.described) return;
    OPENFILENAMEA& d = state.description;
    d.lStructSize = sizeof d;
    d.hInstance = state.instance;
    d.lpstrCustomFilter = state.custom_filter;
    d.nMaxCustFilter = sizeof state.custom_filter;
    d.nFilterIndex = 1;
    state.described = true;
}

// Grows the buffer by doubling until it holds `text` and its zero, then copies `text` in.
void put_name(std::vector<char>& buffer, const std::string& text, std::size_t at_least = 0) {
    std::size_t size = buffer.size();
    while (size < text.size() + 1 || size < at_least) size *= 2;
    std::vector<char> grown(size);
    std::memcpy(grown.data(), text.c_str(), text.size() + 1);
    buffer.swap(grown);
}

}  // namespace

void bind_file_dialogs(HINSTANCE instance, DirectorySlots* directories) {
    FileDialogState& state = dialog_state();
    state.instance = instance;
    state.directories = directories ? directories : &state.own_directories;
    state.description.hInstance = instance;
}

int file_dialog(int mode, int slot, HWND owner, const std::vector<std::string>& filters, std::string& path,
                std::string& title) {
    FileDialogState& state = dialog_state();
    if (slot < 0 || slot >= directory_slot_count) return 0;
    describe_once(state);
    std::string& remembered = (*state.directories)[static_cast<std::size_t>(slot)];

    put_name(state.name_buffer, path);

    std::string filter_text;
    for (const std::string& filter : filters) {
        filter_text += filter;
        filter_text += '\0';
    }
    filter_text += '\0';

    // An exported text typed without an extension gets .txt, not .nib, and is never taken for a pad.
    state.default_extension = default_extension(filters);

    OPENFILENAMEA& d = state.description;
    d.hwndOwner = owner;
    d.lpstrFilter = filter_text.c_str();
    d.lpstrDefExt = state.default_extension.empty() ? nullptr : state.default_extension.c_str();
    d.lpstrInitialDir = path.empty() && !remembered.empty() ? remembered.c_str() : nullptr;
    d.Flags = mode == open_mode ? OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE
                                : OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_SHAREAWARE;
    for (;;) {
        d.lpstrFile = state.name_buffer.data();
        d.nMaxFile = static_cast<DWORD>(state.name_buffer.size() - 10);
        BOOL chosen = mode == open_mode ? GetOpenFileNameA(&d) : GetSaveFileNameA(&d);
        if (chosen) break;
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return 0;
        // The buffer now holds the size the choice needs, not a name: show the given path again.
        std::size_t needed = static_cast<unsigned char>(state.name_buffer[0]) |
                             static_cast<std::size_t>(static_cast<unsigned char>(state.name_buffer[1])) << 8;
        put_name(state.name_buffer, path, std::max(state.name_buffer.size() * 2, needed + 11));
    }
    path = state.name_buffer.data();
    title = d.nFileOffset < path.size() ? path.substr(d.nFileOffset) : std::string();
    remembered = directory_of(path);
    return 1;
}

PathQueries path_queries{GetModuleFileNameA, GetShortPathNameA};

bool path_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string short_path(const std::string& path) {
    DWORD needed = path_queries.short_path_name(path.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::string result(needed, '\0');
    DWORD length = path_queries.short_path_name(path.c_str(), result.data(), needed);
    // Zero is a failure; a length beyond the buffer means the file changed in between.
    if (length == 0 || length >= needed) return {};
    result.resize(length);
    return result;
}

std::string program_path() {
    // The module's own file: the command line's first word may be a bare name found through PATH.
    std::string file(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = path_queries.module_file_name(nullptr, file.data(), static_cast<DWORD>(file.size()));
        if (length == 0) return {};
        // A name that fills the buffer may have been cut short.
        if (length < file.size()) {
            file.resize(length);
            return short_path(file);
        }
        if (file.size() >= 32768) return {};
        file.resize(file.size() * 2);
    }
}

std::string display_name(const std::string& path) {
    SHFILEINFOA info{};
    if (SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME) && info.szDisplayName[0])
        return info.szDisplayName;
    return file_name_of(path);
}

void center_rect(RECT& rect, LONG left, LONG top, LONG right, LONG bottom) {
    // 64-bit sums: a far-off area must not overflow. Division truncates toward zero.
    long long width = static_cast<long long>(rect.right) - rect.left;
    long long height = static_cast<long long>(rect.bottom) - rect.top;
    long long new_left = (static_cast<long long>(left) + right) / 2 - width / 2;
    long long new_top = (static_cast<long long>(top) + bottom) / 2 - height / 2;
    rect.left = static_cast<LONG>(new_left);
    rect.top = static_cast<LONG>(new_top);
    rect.right = static_cast<LONG>(new_left + width);
    rect.bottom = static_cast<LONG>(new_top + height);
}

RECT screen_rect() {
    HDC info = CHECK_CALL(CreateICA("Display", nullptr, nullptr, nullptr));
    RECT rect{0, 0, GetDeviceCaps(info, HORZRES), GetDeviceCaps(info, VERTRES)};
    DeleteDC(info);
    return rect;
}

void center_window(HWND window) {
    RECT area;
    if (HWND parent = GetParent(window))
        CHECK_CALL(GetWindowRect(parent, &area));
    else
        area = screen_rect();
    RECT rect;
    CHECK_CALL(GetWindowRect(window, &rect));
    center_rect(rect, area.left, area.top, area.right, area.bottom);
    CHECK_CALL(MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE));
}

MemoryDC::MemoryDC(HDC like) : dc_(CHECK_CALL(CreateCompatibleDC(like))) {}

MemoryDC::~MemoryDC() {
    if (old_) SelectObject(dc_, old_);
    DeleteDC(dc_);
}

void MemoryDC::select(HBITMAP bitmap) { old_ = CHECK_CALL(SelectObject(dc_, bitmap)); }

void draw_masked_bitmap(HBITMAP image, HBITMAP mask, HDC dc, const RECT& rect) {
    MemoryDC image_dc(dc);
    MemoryDC mask_dc(dc);
    image_dc.select(image);
    mask_dc.select(mask);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    CHECK_CALL(FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE)));
    // Clear the image's pixels to black (destination and not source), then add the image (or).
    CHECK_CALL(BitBlt(dc, rect.left, rect.top, width, height, mask_dc.get(), 0, 0, 0x220326));
    CHECK_CALL(BitBlt(dc, rect.left, rect.top, width, height, image_dc.get(), 0, 0, SRCPAINT));
}

HRESULT create_shortcut(std::string target, std::string shortcut_file, std::string description) {
    IShellLinkA* link = nullptr;
    HRESULT status = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(status)) {
        // A link without its target would be saved all the same and lead nowhere.
        status = link->SetPath(target.c_str());
        link->SetDescription(description.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(status)) status = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(status)) {
            // A path that does not fit is refused: saved cut off, the link would land elsewhere.
            WCHAR wide[MAX_PATH] = {};
            if (MultiByteToWideChar(CP_ACP, 0, shortcut_file.c_str(), -1, wide, MAX_PATH) == 0)
                status = HRESULT_FROM_WIN32(GetLastError());
            else
                status = file->Save(wide, TRUE);
            file->Release();
        }
        link->Release();
    }
    return status;
}

std::string special_folder_path(int folder) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &list)) || !list) return {};
    char path[MAX_PATH] = {};
    BOOL found = SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
    return found ? std::string(path) : std::string();
}
