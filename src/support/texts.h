#pragma once
// Every text the user can see, in one table, so that no message is written at its point of use.
// The entries are writable pointers: a translation can swap the table at start-up.

struct Texts {
    // About window and default pad
    const char* about_menu;
    const char* default_pad_name;
    // Installation integration
    const char* program_moved;
    const char* modify_registry;
    const char* pad_file_type;
    const char* start_menu_shortcut;
    const char* shortcut_title;
    const char* shortcut_file;
    const char* application_description;
    const char* desktop_shortcut;
    const char* registry_removed;
    const char* uninstall_complete;
    // Errors
    const char* exception_occured;
    const char* error;
    const char* unexpected_error;
    const char* unexpected_error_intro;
    // Text import and export
    const char* export_failed;
    const char* export_error;
    const char* import_failed;
    const char* import_error;
    const char* importing_title;
    const char* importing_label;
    // Text field links
    const char* mail_failed;
    // Start-up and memory
    const char* error_occurred;
    const char* memory_low;
    const char* out_of_memory;
    const char* low_memory;
    // Main window
    const char* new_pad;
    const char* newer_file_question;
    const char* newer_file;
    const char* of;
    const char* nib_full;
    const char* nib_full_title;
    const char* save_changes_question;
    const char* save_changes_title;
    const char* save_problem_question;
    const char* close_window;
    const char* pad_filter;
    const char* text_filter;
    const char* all_filter;
    const char* help_file;
    const char* help_missing;
    // Key/value file
    const char* could_not_file;
    const char* open;
    const char* save;
    const char* read_only_notice;
    const char* read_only;
    const char* format_error;
    const char* not_for_updating;
    const char* write_error;
    const char* not_for_reading;
    const char* not_for_writing;
    const char* could_not_file_title;
    const char* no_such_key;
    const char* unknown_key;
    // Progress window
    const char* percent_done;
    // Shell utilities
    const char* not_found;
};

extern Texts texts;
