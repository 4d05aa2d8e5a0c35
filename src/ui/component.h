#pragma once
// The portable core of the window framework: named components that own components, and
// published properties set by name. The Win32 windows and controls build on these classes;
// the native build uses them directly, so lookups and property setting are testable anywhere.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qln::ui {

class Component {
 public:
  explicit Component(std::string name = {});
  virtual ~Component();
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const std::string& name() const { return name_; }
  void set_name(std::string name) { name_ = std::move(name); }

  // Takes ownership of a new component and returns it.
  template <typename T, typename... Args>
  T& add(Args&&... args) {
    auto owned = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *owned;
    adopt(std::move(owned));
    return ref;
  }
  void adopt(std::unique_ptr<Component> child);
  const std::vector<std::unique_ptr<Component>>& components() const { return children_; }

  // The owned component of that name, compared without regard to case; nullptr when absent.
  Component* find_component(std::string_view name) const;

  // Sets a published property by name (case-insensitive). A string property takes the value,
  // a property of another type is left alone, and a name that is not published raises
  // Error("Eigenschaft <name> existiert nicht").
  void set_property(std::string_view property, const std::string& value);
  bool publishes(std::string_view property) const;

 protected:
  void publish_string(std::string property, std::function<void(const std::string&)> setter);
  void publish_other(std::string property);
  void withdraw(std::string_view property);  // a kind of component that lacks a property

 private:
  struct Property {
    std::string name;
    std::function<void(const std::string&)> setter;  // empty: not a string property
  };
  const Property* find_property(std::string_view property) const;

  std::string name_;
  std::vector<std::unique_ptr<Component>> children_;
  std::vector<Property> properties_;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// A visible control: caption, hint, place and state. The Win32 controls override the hooks to
// carry each change into their window.
class Control : public Component {
 public:
  explicit Control(std::string name, std::string caption = {}, Rect bounds = {});

  const std::string& caption() const { return caption_; }
  void set_caption(std::string caption);
  const std::string& hint() const { return hint_; }
  void set_hint(std::string hint);
  bool enabled() const { return enabled_; }
  void set_enabled(bool enabled);
  bool visible() const { return visible_; }
  void set_visible(bool visible);
  const Rect& bounds() const { return bounds_; }
  void set_bounds(Rect bounds);

  std::function<void()> on_click;
  void click() {
    if (on_click) on_click();
  }

 protected:
  virtual void caption_changed() {}
  virtual void hint_changed() {}
  virtual void enabled_changed() {}
  virtual void visible_changed() {}
  virtual void bounds_changed() {}

 private:
  std::string caption_, hint_;
  bool enabled_ = true, visible_ = true;
  Rect bounds_;
};

// A window of the application: a control that owns controls, found by its component name.
class Form : public Control {
 public:
  explicit Form(std::string name, std::string caption = {})
      : Control(std::move(name), std::move(caption)) {}

  // The owned control of that name, or nullptr (also for a non-control component).
  Control* find_control(std::string_view name) const;
};

// Runs event handlers. An error that escapes a handler is caught here, at the dispatch
// boundary, and reported; the caller (the message loop) then goes on.
class Application : public Component {
 public:
  explicit Application(std::string title) : Component("Application"), title_(std::move(title)) {}

  const std::string& title() const { return title_; }
  Form* find_form(std::string_view name) const;

  // Runs `handler`; an escaping error's message goes to report_error. Returns false then.
  bool dispatch(const std::function<void()>& handler);
  std::function<void(const std::string&)> report_error;

 private:
  std::string title_;
};

}  // namespace qln::ui
