#pragma once
// The base of every window of the program. One map ties each window handle to its object; one
// window procedure routes every message to the object's handleMessage. The object belongs to its
// window: it is made with new, and the window procedure deletes it after WM_NCDESTROY. While code
// of a window runs (one of its handlers, a question it waits on, its constructor) the window is
// not destroyed and the object not deleted: a destruction asked for meanwhile waits until the
// outermost of that code has returned.
#include <windows.h>

#include <exception>
#include <map>
#include <string>

class Window;

// Window handle to object. The entry under the null handle names the one object whose window is
// being created and whose handle is not known yet.
extern std::map<HWND, Window*> windowMap;

class Window {
public:
    explicit Window(Window* parent);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Binds the object to `window` (when not null) and files it under its handle.
    void attach(HWND window);
    static Window* fromHandle(HWND window);
    // The one window procedure. An exception that leaves a handler does not cross the system's
    // callbacks reliably, so it is caught here and reported as the message loop would report it
    // (see reportError); the message then gets its failure result.
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Registers, once per name, a class whose windows this framework runs, with the program's icon,
    // the arrow cursor, a background of the given system colour and the named menu (none if null).
    static void registerClass(const char* className, int backgroundColor, const char* menuName = nullptr);

    // Shows an error that left a message handler or the message loop: a msg_exception shows its
    // box with no owner (a silent_exception nothing), memory exhaustion takes the low-memory path
    // set by the application, anything else is an "Unexpected error". Never throws.
    static void reportError(std::exception_ptr error) noexcept;
    // What reportError does with std::bad_alloc; the application installs its low-memory path.
    static void setOutOfMemoryReporter(void (*reporter)());

    // Destroys the window now, or, while code of the window runs, once the outermost of it has
    // returned; closing() is true from here on.
    void destroy();
    // Whether the window is gone or is to go as soon as its running code returns.
    bool closing() const { return !hwnd || destroyPending; }
    // Counts code of this window that runs outside its handlers (a constructor, a question);
    // what is deferred meanwhile is settled by the window procedure or by that code itself.
    void enterCode() noexcept { ++codeDepth; }
    void leaveCode() noexcept { --codeDepth; }
    // The questions and dialogs this window shows and waits on (see ModalMoment).
    int modalMoments = 0;

    void getText(std::string& text) const;
    // Moves (and if need be shrinks) the rectangle so that it lies within the desktop work area.
    static void fitToWorkArea(RECT& rect);

    HWND hwnd = nullptr;
    Window* parent;

protected:
    // Creates this object's top-level window and binds it; throws the "Unexpected error" when that
    // fails, or the error that its WM_CREATE handling raised. A window that is destroyed while it
    // is being created leaves the object alone: the failing constructor owns it until it has thrown.
    void createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                      int height, HWND owner);
    // For a constructor that fails after its window exists: destroys the window (its WM_DESTROY
    // handling runs) without the framework deleting this object, which the unwinding constructor
    // frees itself.
    void abandonWindow() noexcept;

private:
    // Drops every map entry that names this object.
    void detach() noexcept;
    // What waited for the window's running code to return: the destruction asked for, or the
    // deletion of an object whose window went meanwhile.
    static void settle(Window* object);
    bool creating = false;
    int codeDepth = 0;
    bool destroyPending = false;
    // The error a handler raised while CreateWindowExA ran, thrown again once it has returned.
    std::exception_ptr creationError;
};

// A standard control ("edit", "button") run by the framework: its window procedure is replaced by
// Window::windowProc, and what the wrapper does not take goes on to the control's own procedure.
// The control's procedure is put back before the object is deleted, so that the control still
// gets its WM_NCDESTROY and frees its own memory.
class ControlWindow : public Window {
public:
    // Creates the control as a child of `parent` with the given class, style and id, at position
    // and size 0, and subclasses it. Throws the "Unexpected error" when creation fails.
    ControlWindow(Window* parent, const char* className, DWORD style, int id);
    ~ControlWindow() override;

    // Passes the message to the control's own procedure.
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    WNDPROC oldWindowProc = nullptr;
};
