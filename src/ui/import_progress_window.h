#pragma once
// Shows a long text import in a progress window: the window is made when the import begins and
// closed when it ends, also when the import fails.
#include "storage/import_progress.h"

#include <windows.h>

class ProgressWindow;

class ImportProgressWindow final : public ImportProgress {
public:
    // `font` is given to the window's text lines; the caller keeps it.
    explicit ImportProgressWindow(HFONT font) : font(font) {}
    ~ImportProgressWindow() override;
    ImportProgressWindow(const ImportProgressWindow&) = delete;
    ImportProgressWindow& operator=(const ImportProgressWindow&) = delete;

    void begin(const std::string& title, const std::string& label) override;
    void report(double fraction) override;
    void end() override;

private:
    HFONT font;
    // Owned by its window; null while none is shown.
    ProgressWindow* window = nullptr;
};
