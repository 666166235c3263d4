#include "ui/window.h"

#include "support/messages.h"
#include "ui/resource_ids.h"

#include <vector>

std::map<HWND, Window*> windowMap;

Window::Window(Window* parent_) : parent(parent_) { attach(nullptr); }

Window::~Window() { detach(); }

LRESULT Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Window::attach(HWND window) {
    if (window) hwnd = window;
    windowMap[hwnd] = this;
    if (!hwnd) return;
    const auto pending = windowMap.find(nullptr);
    if (pending != windowMap.end() && pending->second == this) windowMap.erase(pending);
}

void Window::detach() noexcept {
    for (HWND key : {hwnd, HWND{}}) {
        const auto entry = windowMap.find(key);
        if (entry != windowMap.end() && entry->second == this) windowMap.erase(entry);
    }
}

Window* Window::fromHandle(HWND window) {
    const auto entry = windowMap.find(window);
    return entry == windowMap.end() ? nullptr : entry->second;
}

LRESULT CALLBACK Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* object = fromHandle(window);
    if (!object) {
        // The first message of a window under construction, before CreateWindowExA has returned.
        object = fromHandle(nullptr);
        if (object) object->attach(window);
    }
    if (!object) return DefWindowProcA(window, message, wParam, lParam);
    // WM_NCDESTROY still finds the object only when WM_DESTROY never came, as when a window
    // fails during its creation.
    if (message != WM_DESTROY && message != WM_NCDESTROY) return object->handleMessage(message, wParam, lParam);

    const LRESULT result = object->handleMessage(message, wParam, lParam);
    // While its constructor is still running, the constructor owns the object and frees it.
    if (object->creating) {
        object->detach();
        object->hwnd = nullptr;
    } else {
        delete object;
    }
    return result;
}

void Window::registerClass(const char* className, int backgroundColor, const char* menuName) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(instance, className, &wc)) return;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = CHECK_CALL(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PROGRAM)));
    wc.hIconSm = wc.hIcon;
    wc.hCursor = CHECK_CALL(LoadCursorA(nullptr, IDC_ARROW));
    wc.hbrBackground = GetSysColorBrush(backgroundColor);
    wc.lpszMenuName = menuName;
    wc.lpszClassName = className;
    CHECK_CALL(RegisterClassExA(&wc));
}

void Window::getText(std::string& text) const {
    const int length = GetWindowTextLengthA(hwnd);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd, buffer.data(), length + 1);
    text = buffer.data();
}

void Window::fitToWorkArea(RECT& rect) {
    RECT area;
    CHECK_CALL(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    if (area.right - area.left < rect.right - rect.left) {
        rect.left = area.left;
        rect.right = area.right;
    }
    if (area.bottom - area.top < rect.bottom - rect.top) {
        rect.top = area.top;
        rect.bottom = area.bottom;
    }
    if (rect.right > area.right) {
        rect.left -= rect.right - area.right;
        rect.right = area.right;
    }
    if (rect.bottom > area.bottom) {
        rect.top -= rect.bottom - area.bottom;
        rect.bottom = area.bottom;
    }
    if (rect.left < area.left) {
        rect.right += area.left - rect.left;
        rect.left = area.left;
    }
    if (rect.top < area.top) {
        rect.bottom += area.top - rect.top;
        rect.top = area.top;
    }
}

void Window::createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                          int width, int height, HWND owner) {
    creating = true;
    HWND created;
    try {
        created = CreateWindowExA(exStyle, className, title, style, x, y, width, height, owner, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    } catch (...) {
        creating = false;
        throw;
    }
    creating = false;
    const unsigned long error = GetLastError();
    if (created) {
        hwnd = created;
        attach(nullptr);
    } else {
        // A window that died during its creation may have been bound already: no entry may outlive it.
        detach();
        hwnd = nullptr;
    }
    SetLastError(error);
    CHECK_CALL(created);
}

void Window::abandonWindow() noexcept {
    HWND window = hwnd;
    detach();
    hwnd = nullptr;
    if (window) DestroyWindow(window);
}
