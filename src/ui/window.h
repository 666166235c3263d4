#pragma once
// The base of every window of the program. One map ties each window handle to its object; one
// window procedure routes every message to the object's handleMessage. The object belongs to its
// window: it is made with new, and the window procedure deletes it after WM_DESTROY.
#include <windows.h>

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
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Registers, once per name, a class whose windows this framework runs, with the program's icon,
    // the arrow cursor and a background of the given system colour.
    static void registerClass(const char* className, int backgroundColor);

    void getText(std::string& text) const;
    // Moves (and if need be shrinks) the rectangle so that it lies within the desktop work area.
    static void fitToWorkArea(RECT& rect);

    HWND hwnd = nullptr;
    Window* parent;

protected:
    // Creates this object's top-level window and binds it; throws the "Unexpected error" when that
    // fails. A window that is destroyed while it is being created leaves the object alone: the
    // failing constructor owns it until it has thrown.
    void createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                      int height, HWND owner);
    // For a constructor that fails after its window exists: destroys the window without the
    // framework deleting this object, which the unwinding constructor frees itself.
    void abandonWindow() noexcept;

private:
    // Drops every map entry that names this object.
    void detach() noexcept;
    bool creating = false;
};
