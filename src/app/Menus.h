#pragma once

// The menu bar and the three toolbars as tables: each item is a command identifier with its
// Japanese text, its shortcut and its icon; the frame builds the widgets from them.

#include <string_view>
#include <vector>

namespace kov::app {

struct MenuItem {
    int command = 0;                 // 0: a separator
    std::string_view text;           // with its access key, as the menu shows it
    std::string_view shortcut;       // QKeySequence text, or empty
    std::string_view icon;           // icon name in ":/icons", or empty
    std::string_view submenu;        // items of the same sub-menu share its title
};

struct MenuDef {
    std::string_view title;
    std::vector<MenuItem> items;
};

const std::vector<MenuDef>& MainMenus();

struct ToolBarDef {
    int id;                          // control id of the bar
    std::string_view name;           // object name (the saved layout keys on it)
    std::string_view title;
    std::vector<int> commands;       // 0: a separator
};
const std::vector<ToolBarDef>& ToolBars();

// The item of a command in the menu tables (its text and icon), or null.
const MenuItem* FindMenuItem(int command);
// The status-bar prompt of a command: the menu text without its access key and ellipsis.
std::string_view StripAccessKey(std::string_view text, std::string& buffer);

} // namespace kov::app
