#pragma once

struct CommandTable;

// The program's one table of commands: menus, toolbars and accelerators are built from it.
const CommandTable& GetCommandTable();
