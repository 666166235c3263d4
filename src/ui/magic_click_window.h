#pragma once
// The text field: a multi-line edit in which a Ctrl+click follows the word under the pointer as a
// link (a web address, a file, a mail address) or else searches the pad for it.
#include "ui/window.h"

#include <functional>
#include <string>

class MagicClickWindow : public ControlWindow {
public:
    MagicClickWindow(Window* parent, int id);

    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The current selection of the field.
    std::string selectedText() const;
    // The link a word stands for: white space trimmed, %xx codes and "+" decoded.
    static std::string decodeLink(std::string word);

    // Opens a file or address through the shell as ShellExecuteA would, with no verb; true when
    // something was opened (a result above 32). Tests replace it; empty restores the system's.
    using ShellOpen = std::function<bool(HWND owner, const std::string& file, int show)>;
    static ShellOpen setShellOpen(ShellOpen open);
    static bool shellOpen(HWND owner, const std::string& file, int show);

private:
    void followLink(WPARAM wParam, LPARAM lParam);
};
