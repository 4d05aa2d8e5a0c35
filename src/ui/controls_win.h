#pragma once
// The controls of the designs, each a real child window whose window text is its caption, so
// that screen readers and UI automation find it by that text.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/win32/handle.h"
#include "ui/component.h"
#include "ui/font_win.h"

namespace qln::ui {

class Window;

class WinControl : public Control {
 public:
  WinControl(std::string name, std::string caption, Rect bounds);
  ~WinControl() override;

  HWND hwnd() const { return hwnd_; }
  int id() const { return id_; }
  Window* parent() const { return parent_; }

  // Called by the owning window once its own window exists.
  void create(Window& parent, int id);
  void assign_id(int id) { id_ = id; }
  // Puts the control below its siblings (a background picture).
  void send_to_back();

  void set_font(const FontSpec& spec);
  HFONT font() const;
  // Pixel width of a text in this control's font: the measure that fits paths into labels.
  int text_width(const std::string& text) const;

  COLORREF text_color = RGB(0, 0, 0);
  std::optional<COLORREF> hover_color;  // text colour while the mouse is over the control
  std::optional<COLORREF> back_color;   // default: the window's colour
  bool hand_cursor = false;
  std::function<void()> on_mouse_down;  // left button pressed over the control

  // Routed here by the owning window.
  virtual void command(WORD code);
  virtual LRESULT notify(const NMHDR& header);
  virtual void draw(const DRAWITEMSTRUCT& item);
  virtual HBRUSH colors(HDC dc);

  bool hovered() const { return hovered_; }

 protected:
  virtual const wchar_t* window_class() const = 0;
  virtual DWORD window_style() const = 0;
  virtual void created() {}
  virtual void hover_changed() { InvalidateRect(hwnd_, nullptr, TRUE); }
  // The text screen readers and UI automation find the control by.
  virtual std::string window_text() const { return caption(); }

  void caption_changed() override;
  void hint_changed() override;
  void enabled_changed() override;
  void visible_changed() override;
  void bounds_changed() override;

  void fill_background(HDC dc, const RECT& r) const;
  COLORREF current_text_color() const;

 private:
  static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void register_tool();

  HWND hwnd_ = nullptr;
  Window* parent_ = nullptr;
  int id_ = 0;
  bool hovered_ = false;
  bool own_font_ = false;
  FontSpec font_spec_;
  win32::GdiObject<HFONT> font_;
  win32::GdiObject<HBRUSH> brush_;
};

// A text label; by default it sizes itself to its text.
class Label : public WinControl {
 public:
  Label(std::string name, std::string caption, Rect bounds = {});
  bool auto_size = true;
  bool vertical = false;  // drawn turned by 90 degrees
  void draw(const DRAWITEMSTRUCT& item) override;

 protected:
  const wchar_t* window_class() const override { return L"STATIC"; }
  DWORD window_style() const override;
  void caption_changed() override;
  void created() override { fit(); }
  void fit();
};

// A label that acts like a link: steel blue, black under the mouse, hand cursor.
class LinkLabel : public Label {
 public:
  LinkLabel(std::string name, std::string caption, Rect bounds = {});
};

// A picture: a bitmap, or a paint function, drawn into the control's rectangle. It has no
// caption; its hint is its accessible name.
class Picture : public WinControl {
 public:
  Picture(std::string name, Rect bounds, std::string hint = {});
  // Takes an embedded bitmap resource by name; returns false when there is none.
  bool load_bitmap(const std::string& resource);
  std::function<void(HDC, const RECT&)> paint;
  void draw(const DRAWITEMSTRUCT& item) override;

 protected:
  const wchar_t* window_class() const override { return L"STATIC"; }
  DWORD window_style() const override { return WS_CHILD | SS_OWNERDRAW | SS_NOTIFY; }
  std::string window_text() const override { return hint(); }
  void hint_changed() override;

 private:
  win32::GdiObject<HBITMAP> bitmap_;
};

// An option icon: a picture with an on and an off state that a click toggles.
class ImageCheck : public WinControl {
 public:
  ImageCheck(std::string name, std::string caption, Rect bounds, std::string on_bitmap,
             std::string off_bitmap);
  bool checked() const { return checked_; }
  void set_checked(bool checked);  // does not run on_click
  void command(WORD code) override;
  void draw(const DRAWITEMSTRUCT& item) override;

 protected:
  const wchar_t* window_class() const override { return L"BUTTON"; }
  DWORD window_style() const override { return WS_CHILD | WS_TABSTOP | BS_OWNERDRAW; }
  void created() override;

 private:
  std::string on_name_, off_name_;
  win32::GdiObject<HBITMAP> on_, off_;
  bool checked_ = false;
};

// A flat button: white face, caption bold while the mouse is over it.
class SpeedButton : public WinControl {
 public:
  SpeedButton(std::string name, std::string caption, Rect bounds);
  bool drop_down = false;  // draws an arrow for an attached drop-down menu
  void command(WORD code) override;
  void draw(const DRAWITEMSTRUCT& item) override;

 protected:
  const wchar_t* window_class() const override { return L"BUTTON"; }
  DWORD window_style() const override { return WS_CHILD | WS_TABSTOP | BS_OWNERDRAW; }
};

class CheckBox : public WinControl {
 public:
  CheckBox(std::string name, std::string caption, Rect bounds);
  bool checked() const;
  void set_checked(bool checked);  // does not run on_click
  void command(WORD code) override;

 protected:
  const wchar_t* window_class() const override { return L"BUTTON"; }
  DWORD window_style() const override { return WS_CHILD | WS_TABSTOP | BS_AUTOCHECKBOX; }
  void created() override;

 private:
  bool checked_ = false;
};

// A time-of-day picker.
class TimePicker : public WinControl {
 public:
  TimePicker(std::string name, Rect bounds, qln::TimeOfDay value);
  TimeOfDay time() const { return time_; }
  void set_time(TimeOfDay t);  // does not run on_change
  std::function<void()> on_change;
  LRESULT notify(const NMHDR& header) override;

 protected:
  const wchar_t* window_class() const override;
  DWORD window_style() const override;
  void created() override;

 private:
  TimeOfDay time_;
};

// A report-style list view with columns.
class ListView : public WinControl {
 public:
  ListView(std::string name, Rect bounds);
  void set_columns(const std::vector<std::pair<std::string, int>>& captions_and_widths);
  void set_column_caption(int column, const std::string& caption);
  void clear();
  int add_row(const std::vector<std::string>& cells);
  int row_count() const;
  int selected() const;  // -1 when none
  void select(int row);
  std::string cell(int row, int column) const;

 protected:
  const wchar_t* window_class() const override;
  DWORD window_style() const override;
  void created() override;

 private:
  std::vector<std::pair<std::string, int>> columns_;
};

class ProgressBar : public WinControl {
 public:
  ProgressBar(std::string name, Rect bounds);
  int position() const { return position_; }
  void set_position(int position);  // kept between 0 and 100

 protected:
  const wchar_t* window_class() const override;
  DWORD window_style() const override { return WS_CHILD | PBS_SMOOTH; }
  void created() override;

 private:
  int position_ = 0;
};

// A frame that groups controls: showing or hiding it shows or hides them too.
class Panel : public Picture {
 public:
  Panel(std::string name, Rect bounds);
  std::vector<Control*> members;

 protected:
  void visible_changed() override;
};

}  // namespace qln::ui
