#pragma once
// Command identifiers shared by the frame, its menus and toolbars, and the modules.
namespace corvane::cmd {

// Project commands.
inline constexpr unsigned ID_PROJECT_NEW = 15350;
inline constexpr unsigned ID_PROJECT_OPEN = 15351;
inline constexpr unsigned ID_PROJECT_SAVE = 15352;
inline constexpr unsigned ID_PROJECT_SAVE_AS = 15353;

// Searches and the link.
inline constexpr unsigned ID_SEARCH_MODULE = 15250;
inline constexpr unsigned ID_IP_SEARCH = 15251;
inline constexpr unsigned ID_RUN_PLC = 15253;
inline constexpr unsigned ID_STOP_PLC = 15254;
inline constexpr unsigned ID_COMM_SETTING = 15300;
inline constexpr unsigned ID_SEND_MESSAGE = 15301;
inline constexpr unsigned ID_LANGUAGE = 15302;
inline constexpr unsigned ID_LANGUAGE_FIRST = 28416;
inline constexpr unsigned ID_LANGUAGE_LAST = 28671;
inline constexpr unsigned ID_CONFIGURE = 15051;
inline constexpr unsigned ID_CUSTOMIZE = 15153;

// Sibling tools.
inline constexpr unsigned ID_TOOL_VIRTUAL_PORT = 15255;
inline constexpr unsigned ID_TOOL_LADDER_STUDIO = 15256;
inline constexpr unsigned ID_TOOL_LADDER_PAD = 15257;
inline constexpr unsigned ID_TOOL_DRIVE_TOOL = 15258;
inline constexpr unsigned ID_TOOL_SERVO_TOOL = 15259;
inline constexpr unsigned ID_TOOL_CARD_TOOL = 15260;

// Toolbars (control identifiers double as their show/hide commands).
inline constexpr unsigned ID_TOOLBAR_STANDARD = 10701;
inline constexpr unsigned ID_TOOLBAR_EDIT = 10702;
inline constexpr unsigned ID_TOOLBAR_COMMUNICATION = 10703;
inline constexpr unsigned ID_TOOLBAR_APPLICATION = 10704;
inline constexpr unsigned ID_TOOLBAR_WINDOW = 10705;

// Panes and the status bar.
inline constexpr unsigned ID_VIEW_WORKSPACE = 15150;
inline constexpr unsigned ID_VIEW_OUTPUT = 15151;
inline constexpr unsigned ID_VIEW_STATUS_BAR = 59393;
inline constexpr unsigned ID_INDICATOR_LINK_TYPE = 15000;
inline constexpr unsigned ID_INDICATOR_LINK_ADDRESS = 15001;

// Help.
inline constexpr unsigned ID_APP_ABOUT = 57664;
inline constexpr unsigned ID_HELP_MANUAL = 15400;
inline constexpr unsigned ID_HELP_HISTORY = 15401;

// Framework standard commands.
inline constexpr unsigned ID_FILE_NEW = 57600;
inline constexpr unsigned ID_FILE_OPEN = 57601;
inline constexpr unsigned ID_FILE_SAVE = 57603;
inline constexpr unsigned ID_FILE_PAGE_SETUP = 57605;
inline constexpr unsigned ID_FILE_PRINT_SETUP = 57606;
inline constexpr unsigned ID_FILE_PRINT = 57607;
inline constexpr unsigned ID_FILE_PRINT_DIRECT = 57608;
inline constexpr unsigned ID_FILE_PRINT_PREVIEW = 57609;
inline constexpr unsigned ID_FILE_MRU_FILE1 = 57616;
inline constexpr unsigned ID_FILE_MRU_LAST = 57631;
inline constexpr unsigned ID_EDIT_COPY = 57634;
inline constexpr unsigned ID_EDIT_CUT = 57635;
inline constexpr unsigned ID_EDIT_PASTE = 57637;
inline constexpr unsigned ID_EDIT_UNDO = 57643;
inline constexpr unsigned ID_WINDOW_CASCADE = 57650;
inline constexpr unsigned ID_WINDOW_TILE_HORZ = 57651;
inline constexpr unsigned ID_APP_EXIT = 57665;
inline constexpr unsigned ID_NEXT_PANE = 57680;
inline constexpr unsigned ID_PREV_PANE = 57681;

// Commands the frame routes to module documents.
inline constexpr unsigned ID_MODULE_AFTER_SEARCH = 10900;
inline constexpr unsigned ID_MODULE_DATA_LOAD = 10901;
inline constexpr unsigned ID_MODULE_DATA_SAVE = 10902;
inline constexpr unsigned ID_MODULE_LINK_PRESET = 10903;

}  // namespace corvane::cmd
