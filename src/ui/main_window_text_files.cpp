// Import and Export Found: the pad to and from plain text files, nibs joined by a separator.
#include "ui/main_window.h"

#include "support/texts.h"
#include "support/util.h"
#include "ui/command_ids.h"
#include "ui/import_progress_window.h"
#include "ui/modal_moment.h"
#include "ui/pad_host.h"

std::int32_t MainWindow::exchangeText(unsigned id) {
    commitText();
    // The separator entered serves this one command; the host's stays as the next one's start.
    std::string separator;
    if (!waitForUser(*this, [&] { separator = askSeparator(hwnd, thePadHost->separator); }) || separator.empty())
        return 0;
    const bool importing = id == CMD_IMPORT;
    std::string path, name;
    if (!userChose(*this, [&] {
            return file_dialog(importing ? open_mode : save_mode, importing ? import_directory : export_directory, hwnd,
                               {texts.text_filter, "*.txt", texts.all_filter, "*.*"}, path, name);
        }))
        return 0;
    if (importing) {
        ImportProgressWindow progress(thePadHost->normalFont);
        pad.import_text(path, separator, &progress);
        markChanged();
    } else {
        pad.export_text(path, separator, 0);
    }
    showCurrent();
    return 0;
}
