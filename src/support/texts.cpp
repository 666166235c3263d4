#include "support/texts.h"

Texts texts = {
    .about_menu = "About Scrivel...",
    .default_pad_name = "Default Pad.nib",

    .program_moved = "The Scrivel program seems to have moved. Shoud I update the registry setting to reflect the new location?\n\n(This is a good idea.)",
    .modify_registry = "Do you want me to modify your registry so that you can open Scrivel files (extension \".nib\") by double-clicking them?\n\n(This is a good idea.)",
    .pad_file_type = "Scrivel Pad",
    .start_menu_shortcut = "Do you want me to place a shortcut to Scrivel in the Start menu?",
    .shortcut_title = "Shortcut",
    .shortcut_file = "\\Scrivel.lnk",
    .application_description = "Scrivel application",
    .desktop_shortcut = "Do you want me to place a shortcut to Scrivel on the desktop?",
    .registry_removed = "The registry settings for Scrivel have been removed. It is now safe to delete the program folder.",
    .uninstall_complete = "Uninstall complete",
    .not_removed = "\n\nThese could not be removed (removing them may need an administrator):",
    .setup_title = "Setup",
    .registration_refused = "Scrivel could not register the file type \".nib\": the registry refused the change, for all users and for you alone. Files of the type will not open with a double click.",

    .exception_occured = "An exception has occured.",
    .error = "Error",
    .unexpected_error = "Unexpected error",
    .unexpected_error_intro = "An unexpected error: ",

    .export_failed = "Could not export to #1",
    .export_error = "Export error",
    .import_failed = "Could not import from #1",
    .import_error = "Import error",
    .importing_title = "Importing...",
    .importing_label = "Importing text",

    .mail_failed = "Could not send mail. Mailto-handler is probably not set up correctly in the registry.",
    .open_link_question = "#1 may start a program or run a script. Open it anyway?",
    .open_link_title = "Open link",

    .error_occurred = "An error has occurred",
    .memory_low = "Memory is running low. Save your files as soon as possible and quit Scrivel. Quitting other applications may free some memory",
    .out_of_memory = "Operation cancelled --- out of memory. Save your files and quit Scrivel as soon as possible. Quitting other applications may free some memory.",
    .low_memory = "Low memory",

    .new_pad = "New Pad",
    .newer_file_question = "The file #1 was created by a newer version of Scrivel than the one you are running. It may contain features (text-formatting, etc) not visible in this version. If you open the file and save it, these features will be lost. Do you still want to open the file?",
    .newer_file = "Newer file",
    .newer_file_save_question = "The file #1 was written by a newer version of Scrivel since this window read it. It may contain features not visible in this version, and saving will replace them. Do you still want to save?",
    .not_answering = "Scrivel is already running but does not answer. It may be waiting for an answer in one of its windows.\n\nChoose Retry to wait longer, or Cancel to give up this start.",
    .not_answering_title = "Scrivel does not answer",
    .of = "of",
    .nib_full = "There is not room for more text in this nib. Please split the text on two or more nibs.",
    .nib_full_title = "Nib is full",
    .save_changes_question = "Save changes before closing #1?",
    .save_changes_title = "Save changes?",
    .save_problem_question = "There was a problem in saving the file #1 do you still want to close the window? (Changes will not be saved.)",
    .close_window = "Close window",
    .recovered = "Scrivel recovered #1 changed nibs of #2 from a session that ended unexpectedly.",
    .recovery_damaged = "The recovery file #1 is damaged; it was kept as #2.",
    .pad_filter = "Scrivel pads",
    .text_filter = "Text Files",
    .all_filter = "All Files",
    .help_file = "help\\index.html",
    .help_missing = "Could not open the help file. Make sure that there is a directory named 'help' in the same directory as the Scrivel application and that it contains a file named 'index.html'.",

    .could_not_file = "Could not #1 file #2: #3",
    .open = "open",
    .save = "save",
    .read_only_notice = "The file #1 is read-only. You will not be able to save changes.",
    .read_only = "Read only",
    .format_error = "Error reading file #1: File does not match format.",
    .not_for_updating = "File not open for updating.",
    .write_error = "Error while writing to #1: #2",
    .not_for_reading = "File not open for reading.",
    .not_for_writing = "File not open for writing.",
    .could_not_file_title = "Could not #1 file",
    .no_such_key = "Could not find the key: #1",
    .unknown_key = "Unknown key",

    .percent_done = "#1 % done",

    .not_found = "not found",

    .tool_usage =
        "Usage: nibtool COMMAND ARGUMENTS\n"
        "Reads and changes Scrivel pads (.nib files).\n"
        "\n"
        "  list PAD [--json]             every nib: position, id, time of change, first line\n"
        "  find PAD QUERY [--json]       the nibs that contain QUERY, whatever the case\n"
        "  add PAD TEXT                  adds a nib holding TEXT (- reads it from standard input)\n"
        "  import PAD TEXTFILE [--separator S]\n"
        "                                appends the pieces of TEXTFILE, cut at S, as nibs\n"
        "  export PAD TEXTFILE [--separator S] [--query Q]\n"
        "                                writes the nibs (those containing Q) joined by S\n"
        "  sync A B                      synchronises two pads and saves both\n"
        "  merge BASE OURS THEIRS        git merge driver: OURS becomes OURS synchronised with THEIRS\n"
        "  check PAD                     reads the whole file and reports what is wrong\n"
        "\n"
        "add and import create a missing PAD. S may hold \\n (line feed), \\t (tab) and \\\\\n"
        "(backslash); the default is \\n\\n, 30 hyphens and \\n\\n.\n"
        "Pads hold Windows-1252 text. The texts nibtool is given (QUERY, TEXT, S, Q and standard\n"
        "input) are taken in the terminal's encoding, and the nibs it shows are written in it: on\n"
        "Linux when the locale's encoding is UTF-8 (with any other, bytes pass unchanged), on\n"
        "Windows on a console. A character that a pad cannot hold is an error. Pad and text files\n"
        "are read and written byte for byte. On a terminal, long jobs show their progress.\n"
        "nibtool COMMAND --help describes one command.\n",
    .tool_list_usage =
        "Usage: nibtool list PAD [--json]\n"
        "Shows every nib of PAD on one line: its position, its id, the time of its last change\n"
        "(UTC) and its first line. With --json it prints one JSON array instead, in UTF-8, with\n"
        "an object per nib: {\"position\": 1, \"id\": \"...\", \"time\": \"YYYY-MM-DD HH:MM:SS\"\n"
        "(UTC), \"text\": the whole text, line breaks as CR LF}.\n",
    .tool_find_usage =
        "Usage: nibtool find PAD QUERY [--json]\n"
        "Shows, as list does, the nibs that contain QUERY as one piece, whatever the case of\n"
        "its letters; with --json as list --json does.\n",
    .tool_add_usage =
        "Usage: nibtool add PAD TEXT\n"
        "Adds a nib holding TEXT at the end of PAD and saves it; with TEXT - the text is read\n"
        "from standard input, in the terminal's encoding as TEXT is. A missing PAD is created.\n",
    .tool_import_usage =
        "Usage: nibtool import PAD TEXTFILE [--separator S]\n"
        "Cuts TEXTFILE wherever S stands and appends each piece to PAD as a new nib, then\n"
        "saves PAD. A missing PAD is created. S may hold \\n, \\t and \\\\; the default is\n"
        "\\n\\n, 30 hyphens and \\n\\n. Line breaks in S also find those written as CR LF.\n",
    .tool_export_usage =
        "Usage: nibtool export PAD TEXTFILE [--separator S] [--query Q]\n"
        "Writes the texts of the nibs of PAD to TEXTFILE, joined by S, line breaks as CR LF.\n"
        "With --query only the nibs that contain Q. S as for import.\n",
    .tool_sync_usage =
        "Usage: nibtool sync A B\n"
        "Synchronises the pads A and B and saves both: afterwards both hold every nib in its\n"
        "newest version, in the same order, and nibs deleted on one side are gone from the\n"
        "other unless changed there later. Each file keeps its own window and font.\n",
    .tool_merge_usage =
        "Usage: nibtool merge BASE OURS THEIRS\n"
        "A git merge driver for pads: saves OURS synchronised with THEIRS. BASE is not needed,\n"
        "since every nib carries its own id and time of change.\n",
    .tool_check_usage =
        "Usage: nibtool check PAD\n"
        "Reads the whole of PAD and reports each problem on a line; exits with status 1 when\n"
        "there is any.\n",
    .tool_unknown_command = "Unknown command #1. nibtool --help lists the commands.",
    .tool_bad_arguments = "Wrong arguments for #1. nibtool #1 --help describes them.",
    .tool_empty_separator = "The separator must not be empty.",
    .tool_newer_file = "The file #1 was created by a newer version of Scrivel; nibtool leaves it unchanged, so that nothing of it is lost.",
    .tool_cannot_read = "Could not read #1: #2",
    .tool_unstorable_character = "\"#1\" holds the character #2, which #3 cannot hold.",
    .tool_not_utf8 = "\"#1\" is not UTF-8, the encoding of this terminal: the byte #2 does not fit.",
    .progress_reading = "Reading #1...",
    .progress_synchronising = "Synchronising...",
    .progress_writing = "Writing #1...",
    .check_passed = "#1: #2 nibs, #3 deletion records, no problems found.",
    .check_negative_count = "#1: NNIBS is #2; the pad loads as one empty nib.",
    .check_missing_stamp = "#1: nib #2 has no stored #3; it gets a new id and time when loaded.",
    .check_bad_id = "#1: #2 is not an id: #3",
    .check_bad_time = "#1: #2 is not a time of three numbers: #3",
    .check_duplicate_id = "#1: the id #2 stands more than once (#3 and #4).",
    .check_incomplete_deletion = "#1: deletion record #2 lacks its time; it and the records after it are not read.",
    .check_partial_placement = "#1: the window placement is incomplete; the window opens at the default place.",
    .check_partial_font = "#1: the font is incomplete; the window uses the default font.",
    .check_long_font_name = "#1: the font name is longer than 31 characters: #2",
    .check_newer_version = "#1: written by a newer version of Scrivel (FILE_VERSION #2).",
};
