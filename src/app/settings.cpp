// The settings kept in the per-user registry: loaded at start, written back at the end.
#include "app/application.h"

#include "support/reg.h"

namespace {

// Hands every setting to `visit` with its value name, in the order in which they are stored.
template <typename Visit>
void visit_settings(Application& app, Visit visit) {
    visit("Font Name", app.fontName);
    visit("Font Size", app.fontSize);
    visit("Default Win Width", app.defaultWinWidth);
    visit("Default Win Height", app.defaultWinHeight);
    visit("Window Margin", app.windowMargin);
    visit("Field Spacing", app.fieldSpacing);
    visit("Change Registry", app.changeRegistry);
    visit("Match Font Name", app.matchFontName);
    visit("Match Font Size", app.matchFontSize);
    visit("Autosave", app.autosave);
    visit("Restart Command", app.restartCommand);
    visit("Default Open Dir", app.defaultDirectories[open_directory]);
    visit("Default Save Dir", app.defaultDirectories[save_directory]);
    visit("Default Export Dir", app.defaultDirectories[export_directory]);
    visit("Default Import Dir", app.defaultDirectories[import_directory]);
    visit("Default Insert Dir", app.defaultDirectories[insert_directory]);
    visit("Default Sync Dir", app.defaultDirectories[sync_directory]);
    visit("Default Save Copy Dir", app.defaultDirectories[save_copy_directory]);
}

struct Reader {
    HKEY key;
    void operator()(const char* name, std::string& value) const { read_string(key, name, value); }
    void operator()(const char* name, std::int32_t& value) const { read_dword(key, name, value); }
};

struct Writer {
    HKEY key;
    void operator()(const char* name, const std::string& value) const { write_string(key, name, value); }
    void operator()(const char* name, std::int32_t value) const { write_dword(key, name, value); }
};

}  // namespace

void Application::loadSettings() {
    // Without the key every field keeps its default.
    if (RegistryKey key = open_key(settings_key_path, false)) visit_settings(*this, Reader{key.get()});
}

void Application::saveSettings() {
    if (RegistryKey key = open_key(settings_key_path, true)) visit_settings(*this, Writer{key.get()});
}
