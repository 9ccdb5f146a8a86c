// The program's resources that Windows would read from the executable: menus (and, later,
// dialog templates). The program registers them once at start, before it creates a window
// that names them.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform {

struct MenuItemSpec {
  std::string text;  // "&" marks the mnemonic, as in a resource script
  UINT id = 0;       // 0 for a pop-up
  std::vector<MenuItemSpec> items;  // a pop-up's items
};

void RegisterMenuResource(const std::string& name, std::vector<MenuItemSpec> bar);

}  // namespace platform
