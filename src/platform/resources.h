// The program's resources that Windows would read from the executable: menus (and, later,
// dialog templates). The program registers them once at start, before it creates a window
// that names them.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace platform {

struct MenuItemSpec {
  std::string text;                 // "&" marks the mnemonic, as in a resource script
  UINT id = 0;                      // 0 for a pop-up
  std::vector<MenuItemSpec> items;  // a pop-up's items
};
// A line between two groups of a pop-up's items: no text, no id.
inline MenuItemSpec MenuSeparator() { return MenuItemSpec{}; }

void RegisterMenuResource(const std::string& name, std::vector<MenuItemSpec> bar);

enum class ControlKind { kDefaultButton, kButton, kCheckBox };

struct DialogControlSpec {
  int id = 0;
  ControlKind kind = ControlKind::kButton;
  std::string text;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  // How scripts and tests name the control ("Music"); empty when they need not.
  std::string script_name;
};

struct DialogSpec {
  std::string caption;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  std::string font;
  int font_points = 9;
  std::vector<DialogControlSpec> controls;
};

void RegisterDialogResource(const std::string& name, DialogSpec dialog);

}  // namespace platform
