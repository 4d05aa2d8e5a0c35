#pragma once
// A drop-down menu whose items are named components with a caption, so language files reach
// them like any control.
#include <windows.h>

#include "ui/component.h"

namespace qln::ui {

class Window;

class MenuItem : public Control {
 public:
  MenuItem(std::string name, std::string caption) : Control(std::move(name), std::move(caption)) {}
};

class PopupMenu : public Component {
 public:
  explicit PopupMenu(std::string name) : Component(std::move(name)) {}
  std::vector<MenuItem*> items;
  // Shows the menu at a screen point and runs the chosen item's click handler.
  void popup(Window& owner, int x, int y);
};

}  // namespace qln::ui
