#include "ui/window.h"

#include "support/messages.h"
#include "support/texts.h"
#include "ui/resource_ids.h"

#include <new>
#include <utility>
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

namespace {

void (*outOfMemoryReporter)() = nullptr;

// What a message answers when its handler failed: creation is refused, everything else did nothing.
LRESULT failureResult(UINT message) {
    if (message == WM_CREATE) return -1;
    return 0;
}

}  // namespace

LRESULT CALLBACK Window::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* object = fromHandle(window);
    if (!object) {
        // The first message of a window under construction, before CreateWindowExA has returned.
        // Only createWindow's window may take the entry: a dying window's last messages must not.
        Window* pending = fromHandle(nullptr);
        if (pending && pending->creating) (object = pending)->attach(window);
    }
    if (!object) return DefWindowProcA(window, message, wParam, lParam);

    // A child's code is its top-level window's code too: that window must outlive it.
    Window* root = fromHandle(GetAncestor(window, GA_ROOT));
    if (root == object) root = nullptr;
    object->enterCode();
    if (root) root->enterCode();
    LRESULT result;
    const bool creating = object->creating;
    try {
        result = object->handleMessage(message, wParam, lParam);
    } catch (...) {
        result = failureResult(message);
        // Painting that failed must not be asked for again and again, box after box.
        if (message == WM_PAINT) ValidateRect(window, nullptr);
        if (creating && object->creating) {
            // Thrown again to the code that called CreateWindowExA.
            if (!object->creationError) object->creationError = std::current_exception();
        } else {
            // A second copy of the program waiting for its hand-over need not wait for the box.
            if (InSendMessage()) ReplyMessage(result);
            reportError(std::current_exception());
        }
    }
    object->leaveCode();
    if (root) root->leaveCode();
    if (message == WM_NCDESTROY) {
        object->detach();
        object->hwnd = nullptr;
    }
    settle(object);
    if (root) settle(root);
    return result;
}

void Window::settle(Window* object) {
    if (object->codeDepth > 0) return;
    if (!object->hwnd) {
        delete object;
    } else if (object->destroyPending) {
        // The object goes with the window, in the window procedure's call for WM_NCDESTROY.
        object->destroyPending = false;
        DestroyWindow(object->hwnd);
    }
}

void Window::destroy() {
    if (codeDepth > 0)
        destroyPending = true;
    else if (hwnd)
        DestroyWindow(hwnd);
}

void Window::reportError(std::exception_ptr error) noexcept {
    try {
        try {
            std::rethrow_exception(error);
        } catch (const msg_exception& shown) {
            shown.show(nullptr);
        } catch (const std::bad_alloc&) {
            if (outOfMemoryReporter)
                outOfMemoryReporter();
            else
                show_message(nullptr, texts.out_of_memory, texts.error, style_warning);
        } catch (const std::exception& unknown) {
            show_message(nullptr, texts.unexpected_error_intro + std::string(unknown.what()), texts.unexpected_error,
                         style_warning);
        } catch (...) {
            show_message(nullptr, texts.unexpected_error_intro + std::string(texts.exception_occured),
                         texts.unexpected_error, style_warning);
        }
    } catch (...) {
        // Reporting failed too (no memory for the box): nothing more can be done here.
    }
}

void Window::setOutOfMemoryReporter(void (*reporter)()) { outOfMemoryReporter = reporter; }

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
    creationError = nullptr;
    // The constructor owns the object: a window that dies during its creation leaves it alone.
    enterCode();
    HWND created = CreateWindowExA(exStyle, className, title, style, x, y, width, height, owner, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    const unsigned long error = GetLastError();
    leaveCode();
    creating = false;
    if (created) {
        hwnd = created;
        attach(nullptr);
    } else {
        // A window that died during its creation may have been bound already: no entry may outlive it.
        detach();
        hwnd = nullptr;
    }
    if (creationError) {
        abandonWindow();
        std::rethrow_exception(std::exchange(creationError, nullptr));
    }
    SetLastError(error);
    CHECK_CALL(created);
}

void Window::abandonWindow() noexcept {
    if (!hwnd) return;
    // The window's own WM_DESTROY handling runs; the object stays to the unwinding constructor.
    enterCode();
    DestroyWindow(hwnd);
    leaveCode();
    detach();
    hwnd = nullptr;
}

ControlWindow::ControlWindow(Window* parent_, const char* className, DWORD style, int id) : Window(parent_) {
    // The control's own creation messages go to its own procedure: it is subclassed only after.
    hwnd = CHECK_CALL(CreateWindowExA(0, className, "", style, 0, 0, 0, 0, parent->hwnd,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                      nullptr));
    attach(nullptr);
    SetLastError(0);
    oldWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::windowProc)));
    if (!oldWindowProc && GetLastError() != 0) {
        const unsigned long error = GetLastError();
        DestroyWindow(hwnd);
        SetLastError(error);
        CHECK_CALL(oldWindowProc);
    }
}

ControlWindow::~ControlWindow() {
    if (hwnd && oldWindowProc) SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldWindowProc));
}

LRESULT ControlWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(oldWindowProc, hwnd, message, wParam, lParam);
}
