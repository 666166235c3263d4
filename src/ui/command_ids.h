#pragma once
// Command ids of the menu, the accelerators and the arrow buttons, shared by resources/scrivel.rc
// and the main window. Plain macros: the resource compiler reads this file too.

#define CMD_NEW_NIB 10
#define CMD_DELETE_NIB 11
#define CMD_NEW_PAD 12
#define CMD_OPEN_PAD 13
#define CMD_CLOSE_PAD 14
#define CMD_SAVE 15
#define CMD_SAVE_AS 16
#define CMD_SAVE_COPY_AS 17
#define CMD_SYNCHRONIZE 18
#define CMD_IMPORT 19
#define CMD_EXPORT_FOUND 20
#define CMD_QUIT 22

#define CMD_UNDO 30
#define CMD_CUT 31
#define CMD_COPY 32
#define CMD_PASTE 33
#define CMD_DELETE 34
#define CMD_SELECT_ALL 35
#define CMD_INSERT_FILE_LINK 36

#define CMD_FIRST 50
#define CMD_LAST 51
#define CMD_PREVIOUS 52
#define CMD_NEXT 53
#define CMD_FIND_FIELD 54
#define CMD_TEXT_FIELD 55
#define CMD_SWITCH_FIELD 56

#define CMD_PUT_FIRST 60
#define CMD_PUT_LAST 61
#define CMD_MOVE_TOWARDS_BEGINNING 62
#define CMD_MOVE_TOWARDS_END 63
#define CMD_ORDER_ALPHABETICALLY 64

#define CMD_CHOOSE_FONT 70
#define CMD_OTHER_SETTINGS 71

#define CMD_HELP 100
#define CMD_ABOUT 101

// The arrow buttons send their control ids.
#define CMD_PREVIOUS_BUTTON 104
#define CMD_NEXT_BUTTON 105
