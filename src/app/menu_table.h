#pragma once

#include <QString>

#include <span>

namespace stokara::app {

enum class MenuAction {
    OpenScreen,     // opens `screen` as a child window
    UpdateDatabase, // the schema upgrade, with its two messages
    RepairDatabase, // starts `stokara --repair` and ends
    Exit,           // closes the main window and ends
    None,           // no action (hidden entries)
};

// One entry of the main window's menus. The whole menu tree is this one table:
// adding a screen to the menu is adding a row.
struct MenuEntry {
    const char* menu;        // object name of the menu ("masacc")
    const char* menuCaption; // "&Master Account"
    const char* entry; // object name of the entry ("mnucompany"); empty for a bare menu-bar action
    const char* caption;  // "&Party Master"
    const char* shortcut; // "Ctrl+M", or empty
    MenuAction action;
    const char* screen = "";        // object name of the screen it opens
    const char* statementKind = ""; // set before the screen opens
    bool hidden = false;
};

std::span<const MenuEntry> menuTable();

} // namespace stokara::app
