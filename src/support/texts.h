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
    const char* not_removed;
    const char* setup_title;
    const char* registration_refused;
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
    const char* open_link_question;
    const char* open_link_title;
    // Start-up and memory
    const char* error_occurred;
    const char* memory_low;
    const char* out_of_memory;
    const char* low_memory;
    // Main window
    const char* new_pad;
    const char* newer_file_question;
    const char* newer_file;
    const char* newer_file_save_question;
    const char* not_answering;
    const char* not_answering_title;
    const char* of;
    const char* nib_full;
    const char* nib_full_title;
    const char* save_changes_question;
    const char* save_changes_title;
    const char* save_problem_question;
    const char* close_window;
    const char* recovered;
    const char* recovery_damaged;
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
    // Pad tool (nibtool)
    const char* tool_usage;
    const char* tool_list_usage;
    const char* tool_find_usage;
    const char* tool_add_usage;
    const char* tool_import_usage;
    const char* tool_export_usage;
    const char* tool_sync_usage;
    const char* tool_merge_usage;
    const char* tool_check_usage;
    const char* tool_unknown_command;
    const char* tool_bad_arguments;
    const char* tool_empty_separator;
    const char* tool_newer_file;
    const char* tool_cannot_read;
    const char* tool_unstorable_character;
    const char* tool_not_utf8;
    const char* progress_reading;
    const char* progress_synchronising;
    const char* progress_writing;
    const char* check_passed;
    const char* check_negative_count;
    const char* check_missing_stamp;
    const char* check_bad_id;
    const char* check_bad_time;
    const char* check_duplicate_id;
    const char* check_incomplete_deletion;
    const char* check_partial_placement;
    const char* check_partial_font;
    const char* check_long_font_name;
    const char* check_newer_version;
};

extern Texts texts;
