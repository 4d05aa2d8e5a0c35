#include "ui/component.h"

#include "platform/codepage.h"
#include "platform/error.h"

namespace qln::ui {

Component::Component(std::string name) : name_(std::move(name)) {
  publish_other("Name");  // renaming through a language file would break every later lookup
  publish_other("Tag");
}

Component::~Component() = default;

void Component::adopt(std::unique_ptr<Component> child) { children_.push_back(std::move(child)); }

Component* Component::find_component(std::string_view name) const {
  for (const auto& c : children_)
    if (equals_ignore_case(c->name(), name)) return c.get();
  return nullptr;
}

const Component::Property* Component::find_property(std::string_view property) const {
  for (const auto& p : properties_)
    if (equals_ignore_case(p.name, property)) return &p;
  return nullptr;
}

bool Component::publishes(std::string_view property) const {
  return find_property(property) != nullptr;
}

void Component::set_property(std::string_view property, const std::string& value) {
  const Property* p = find_property(property);
  if (!p) throw Error(format_message("Eigenschaft %s existiert nicht", property));
  if (p->setter) p->setter(value);
}

void Component::publish_string(std::string property,
                               std::function<void(const std::string&)> setter) {
  properties_.push_back({std::move(property), std::move(setter)});
}

void Component::publish_other(std::string property) {
  properties_.push_back({std::move(property), {}});
}

void Component::withdraw(std::string_view property) {
  std::erase_if(properties_,
                [&](const Property& p) { return equals_ignore_case(p.name, property); });
}

Control::Control(std::string name, std::string caption, Rect bounds)
    : Component(std::move(name)), caption_(std::move(caption)), bounds_(bounds) {
  publish_string("Caption", [this](const std::string& v) { set_caption(v); });
  publish_string("Hint", [this](const std::string& v) { set_hint(v); });
  for (const char* p : {"Left", "Top", "Width", "Height", "Visible", "Enabled", "Cursor",
                        "ShowHint", "Color", "Font", "Align", "AutoSize", "Transparent"})
    publish_other(p);
}

void Control::set_caption(std::string caption) {
  caption_ = std::move(caption);
  caption_changed();
}

void Control::set_hint(std::string hint) {
  hint_ = std::move(hint);
  hint_changed();
}

void Control::set_enabled(bool enabled) {
  enabled_ = enabled;
  enabled_changed();
}

void Control::set_visible(bool visible) {
  visible_ = visible;
  visible_changed();
}

void Control::set_bounds(Rect bounds) {
  bounds_ = bounds;
  bounds_changed();
}

Control* Form::find_control(std::string_view name) const {
  return dynamic_cast<Control*>(find_component(name));
}

Form* Application::find_form(std::string_view name) const {
  return dynamic_cast<Form*>(find_component(name));
}

bool Application::dispatch(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    if (report_error) report_error(e.what());
  } catch (...) {
    if (report_error) report_error("Unbekannter Fehler");
  }
  return false;
}

}  // namespace qln::ui
