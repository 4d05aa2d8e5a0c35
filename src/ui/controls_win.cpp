#include "ui/controls_win.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/wide.h"
#include "ui/window_win.h"

namespace qln::ui {

using win32::wide;

namespace {

constexpr COLORREF kSteelBlue = RGB(53, 95, 132);

}  // namespace

// ---- WinControl ----

WinControl::WinControl(std::string name, std::string caption, Rect bounds)
    : Control(std::move(name), std::move(caption), bounds) {}

WinControl::~WinControl() {
  if (hwnd_) {
    RemoveWindowSubclass(hwnd_, subclass_proc, 1);
    DestroyWindow(hwnd_);
  }
}

void WinControl::create(Window& parent, int id) {
  parent_ = &parent;
  id_ = id;
  const Rect& b = bounds();
  DWORD style = window_style() | WS_CLIPSIBLINGS | (visible() ? WS_VISIBLE : 0) |
                (enabled() ? 0 : WS_DISABLED);
  hwnd_ =
      CreateWindowExW(0, window_class(), wide(window_text()).c_str(), style, b.left, b.top, b.width,
                      b.height, parent.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                      parent.app().instance(), nullptr);
  SetWindowSubclass(hwnd_, subclass_proc, 1, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
  register_tool();
  created();
}

void WinControl::send_to_back() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WinControl::set_font(const FontSpec& spec) {
  own_font_ = true;
  font_spec_ = spec;
  font_ = make_font(spec);
  if (hwnd_) {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    caption_changed();
  }
}

HFONT WinControl::font() const {
  if (own_font_) return font_.get();
  return parent_ ? parent_->font() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int WinControl::text_width(const std::string& text) const {
  HDC dc = GetDC(hwnd_);
  HGDIOBJ old = SelectObject(dc, font());
  std::wstring w = wide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, w.c_str(), int(w.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  return size.cx;
}

void WinControl::command(WORD code) {
  if (code == BN_CLICKED || code == STN_CLICKED)
    if (on_click) parent_->dispatch(on_click);
}

LRESULT WinControl::notify(const NMHDR&) { return 0; }

void WinControl::draw(const DRAWITEMSTRUCT&) {}

HBRUSH WinControl::colors(HDC dc) {
  SetTextColor(dc, current_text_color());
  SetBkMode(dc, TRANSPARENT);
  COLORREF back = back_color.value_or(parent_->color());
  if (!brush_) brush_.reset(CreateSolidBrush(back));
  return brush_.get();
}

COLORREF WinControl::current_text_color() const {
  if (!enabled()) return GetSysColor(COLOR_GRAYTEXT);
  return hovered_ && hover_color ? *hover_color : text_color;
}

void WinControl::fill_background(HDC dc, const RECT& r) const {
  win32::GdiObject<HBRUSH> b(CreateSolidBrush(back_color.value_or(parent_->color())));
  FillRect(dc, &r, b.get());
}

void WinControl::caption_changed() {
  if (hwnd_) {
    SetWindowTextW(hwnd_, wide(window_text()).c_str());
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

void WinControl::register_tool() {
  if (!parent_ || !parent_->tooltip()) return;
  std::wstring text = wide(hint());
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = parent_->hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = text.data();
  SendMessageW(parent_->tooltip(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void WinControl::hint_changed() {
  if (!hwnd_ || !parent_->tooltip()) return;
  std::wstring text = wide(hint());
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = parent_->hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = text.data();
  SendMessageW(parent_->tooltip(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void WinControl::enabled_changed() {
  if (hwnd_) {
    EnableWindow(hwnd_, enabled());
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

void WinControl::visible_changed() {
  if (hwnd_) ShowWindow(hwnd_, visible() ? SW_SHOWNA : SW_HIDE);
}

void WinControl::bounds_changed() {
  if (hwnd_) {
    const Rect& b = bounds();
    MoveWindow(hwnd_, b.left, b.top, b.width, b.height, TRUE);
  }
}

LRESULT CALLBACK WinControl::subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR data) {
  auto* self = reinterpret_cast<WinControl*>(data);
  switch (msg) {
    case WM_SETCURSOR:
      if (self->hand_cursor && self->enabled()) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!self->hovered_) {
        self->hovered_ = true;
        TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&tme);
        self->hover_changed();
      }
      break;
    case WM_MOUSELEAVE:
      self->hovered_ = false;
      self->hover_changed();
      break;
    case WM_LBUTTONDOWN:
      if (self->on_mouse_down) {
        self->parent_->dispatch(self->on_mouse_down);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// ---- Label ----

Label::Label(std::string name, std::string caption, Rect bounds)
    : WinControl(std::move(name), std::move(caption), bounds) {
  auto_size = bounds.width == 0;
}

DWORD Label::window_style() const {
  return WS_CHILD | SS_NOTIFY | SS_NOPREFIX | (vertical ? SS_OWNERDRAW : SS_LEFT);
}

void Label::caption_changed() {
  WinControl::caption_changed();
  fit();
}

void Label::fit() {
  if (!auto_size || !hwnd()) return;
  HDC dc = GetDC(hwnd());
  HGDIOBJ old = SelectObject(dc, font());
  std::wstring w = wide(caption());
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, w.c_str(), int(w.size()), &r, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(hwnd(), dc);
  Rect b = bounds();
  b.width = std::max<int>(r.right, 1);
  b.height = std::max<int>(r.bottom, 1);
  if (!(b == bounds())) set_bounds(b);
}

void Label::draw(const DRAWITEMSTRUCT& item) {
  // Only the turned label is owner-drawn: its text runs bottom to top.
  HDC dc = item.hDC;
  fill_background(dc, item.rcItem);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, current_text_color());
  HGDIOBJ old = SelectObject(dc, font());
  std::wstring w = wide(caption());
  TextOutW(dc, item.rcItem.left, item.rcItem.bottom - 2, w.c_str(), int(w.size()));
  SelectObject(dc, old);
}

LinkLabel::LinkLabel(std::string name, std::string caption, Rect bounds)
    : Label(std::move(name), std::move(caption), bounds) {
  text_color = kSteelBlue;
  hover_color = RGB(0, 0, 0);
  hand_cursor = true;
}

// ---- Picture ----

Picture::Picture(std::string name, Rect bounds, std::string hint)
    : WinControl(std::move(name), {}, bounds) {
  withdraw("Caption");
  set_hint(std::move(hint));
}

void Picture::hint_changed() {
  WinControl::hint_changed();
  if (hwnd()) SetWindowTextW(hwnd(), wide(hint()).c_str());
}

bool Picture::load_bitmap(const std::string& resource) {
  HINSTANCE inst = parent() ? parent()->app().instance() : GetModuleHandleW(nullptr);
  HBITMAP b = static_cast<HBITMAP>(
      LoadImageW(inst, wide(resource).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!b) return false;
  bitmap_.reset(b);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
  return true;
}

void Picture::draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  fill_background(dc, r);
  if (paint) paint(dc, r);
  if (bitmap_) {
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bitmap_.get());
    BITMAP bm{};
    GetObjectW(bitmap_.get(), sizeof(bm), &bm);
    StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, bm.bmWidth,
               bm.bmHeight, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
}

// ---- ImageCheck ----

ImageCheck::ImageCheck(std::string name, std::string caption, Rect bounds, std::string on_bitmap,
                       std::string off_bitmap)
    : WinControl(std::move(name), std::move(caption), bounds),
      on_name_(std::move(on_bitmap)),
      off_name_(std::move(off_bitmap)) {
  hand_cursor = true;
}

void ImageCheck::created() {
  HINSTANCE inst = parent()->app().instance();
  auto load = [&](const std::string& n) {
    return static_cast<HBITMAP>(
        LoadImageW(inst, wide(n).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  };
  on_.reset(load(on_name_));
  off_.reset(load(off_name_));
}

void ImageCheck::set_checked(bool checked) {
  checked_ = checked;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void ImageCheck::command(WORD code) {
  if (code != BN_CLICKED) return;
  set_checked(!checked_);
  WinControl::command(code);
}

void ImageCheck::draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  fill_background(dc, r);
  HBITMAP b = checked_ ? on_.get() : off_.get();
  if (!b) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, b);
  BITMAP bm{};
  GetObjectW(b, sizeof(bm), &bm);
  StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem, 0, 0, bm.bmWidth,
             bm.bmHeight, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

// ---- SpeedButton ----

SpeedButton::SpeedButton(std::string name, std::string caption, Rect bounds)
    : WinControl(std::move(name), std::move(caption), bounds) {
  back_color = RGB(255, 255, 255);
  hand_cursor = true;
}

void SpeedButton::command(WORD code) {
  if (code == BN_CLICKED) WinControl::command(code);
}

void SpeedButton::draw(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  fill_background(dc, r);
  win32::GdiObject<HBRUSH> frame(CreateSolidBrush(RGB(190, 190, 190)));
  FrameRect(dc, &r, frame.get());
  if (item.itemState & ODS_SELECTED) OffsetRect(&r, 1, 1);
  LOGFONTW lf{};
  GetObjectW(font(), sizeof(lf), &lf);
  if (hovered()) lf.lfWeight = FW_BOLD;
  win32::GdiObject<HFONT> f(CreateFontIndirectW(&lf));
  HGDIOBJ old = SelectObject(dc, f.get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled() ? RGB(0, 0, 0) : GetSysColor(COLOR_GRAYTEXT));
  std::wstring w = wide(caption());
  if (drop_down) r.right -= 12;
  DrawTextW(dc, w.c_str(), int(w.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (drop_down) {
    POINT tri[3] = {{r.right, r.top + (r.bottom - r.top) / 2 - 2},
                    {r.right + 6, r.top + (r.bottom - r.top) / 2 - 2},
                    {r.right + 3, r.top + (r.bottom - r.top) / 2 + 1}};
    win32::GdiObject<HBRUSH> arrow(CreateSolidBrush(RGB(0, 0, 0)));
    HGDIOBJ ob = SelectObject(dc, arrow.get());
    Polygon(dc, tri, 3);
    SelectObject(dc, ob);
  }
  SelectObject(dc, old);
}

// ---- CheckBox ----

CheckBox::CheckBox(std::string name, std::string caption, Rect bounds)
    : WinControl(std::move(name), std::move(caption), bounds) {}

void CheckBox::created() { set_checked(checked_); }

bool CheckBox::checked() const { return checked_; }

void CheckBox::set_checked(bool checked) {
  checked_ = checked;
  if (hwnd()) SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::command(WORD code) {
  if (code != BN_CLICKED) return;
  checked_ = SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  WinControl::command(code);
}

// ---- TimePicker ----

TimePicker::TimePicker(std::string name, Rect bounds, TimeOfDay value)
    : WinControl(std::move(name), {}, bounds), time_(value) {}

const wchar_t* TimePicker::window_class() const { return DATETIMEPICK_CLASSW; }

DWORD TimePicker::window_style() const { return WS_CHILD | DTS_TIMEFORMAT | DTS_UPDOWN; }

void TimePicker::created() { set_time(time_); }

void TimePicker::set_time(TimeOfDay t) {
  time_ = t;
  if (!hwnd()) return;
  SYSTEMTIME st;
  GetLocalTime(&st);
  st.wHour = WORD(t.hour);
  st.wMinute = WORD(t.minute);
  st.wSecond = WORD(t.second);
  st.wMilliseconds = 0;
  SendMessageW(hwnd(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

LRESULT TimePicker::notify(const NMHDR& header) {
  if (header.code == DTN_DATETIMECHANGE) {
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    time_ = {change.st.wHour, change.st.wMinute, change.st.wSecond};
    if (on_change) parent()->dispatch(on_change);
  }
  return 0;
}

// ---- ListView ----

ListView::ListView(std::string name, Rect bounds) : WinControl(std::move(name), {}, bounds) {}

const wchar_t* ListView::window_class() const { return WC_LISTVIEWW; }

DWORD ListView::window_style() const {
  return WS_CHILD | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
}

void ListView::created() {
  ListView_SetExtendedListViewStyle(hwnd(), LVS_EX_FULLROWSELECT);
  auto cols = columns_;
  columns_.clear();
  set_columns(cols);
}

void ListView::set_columns(const std::vector<std::pair<std::string, int>>& cols) {
  columns_ = cols;
  if (!hwnd()) return;
  while (ListView_DeleteColumn(hwnd(), 0)) {
  }
  for (std::size_t i = 0; i < cols.size(); ++i) {
    std::wstring text = wide(cols[i].first);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.cx = cols[i].second;
    c.pszText = text.data();
    SendMessageW(hwnd(), LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&c));
  }
}

void ListView::set_column_caption(int column, const std::string& caption) {
  if (column < 0 || std::size_t(column) >= columns_.size()) return;
  columns_[column].first = caption;
  if (!hwnd()) return;
  std::wstring text = wide(caption);
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = text.data();
  SendMessageW(hwnd(), LVM_SETCOLUMNW, column, reinterpret_cast<LPARAM>(&c));
}

void ListView::clear() { ListView_DeleteAllItems(hwnd()); }

int ListView::add_row(const std::vector<std::string>& cells) {
  int row = row_count();
  for (std::size_t i = 0; i < cells.size(); ++i) {
    std::wstring text = wide(cells[i]);
    LVITEMW it{};
    it.mask = LVIF_TEXT;
    it.iItem = row;
    it.iSubItem = int(i);
    it.pszText = text.data();
    SendMessageW(hwnd(), i == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
  }
  return row;
}

int ListView::row_count() const { return ListView_GetItemCount(hwnd()); }

int ListView::selected() const { return ListView_GetNextItem(hwnd(), -1, LVNI_SELECTED); }

void ListView::select(int row) {
  ListView_SetItemState(hwnd(), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::string ListView::cell(int row, int column) const {
  wchar_t buf[1024] = {};
  LVITEMW it{};
  it.iSubItem = column;
  it.pszText = buf;
  it.cchTextMax = 1024;
  SendMessageW(hwnd(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&it));
  return win32::narrow(buf);
}

// ---- ProgressBar ----

ProgressBar::ProgressBar(std::string name, Rect bounds) : WinControl(std::move(name), {}, bounds) {}

const wchar_t* ProgressBar::window_class() const { return PROGRESS_CLASSW; }

void ProgressBar::created() {
  SendMessageW(hwnd(), PBM_SETRANGE32, 0, 100);
  set_position(position_);
}

void ProgressBar::set_position(int position) {
  position_ = std::clamp(position, 0, 100);
  if (hwnd()) SendMessageW(hwnd(), PBM_SETPOS, position_, 0);
}

// ---- Panel ----

Panel::Panel(std::string name, Rect bounds) : Picture(std::move(name), bounds) {}

void Panel::visible_changed() {
  Picture::visible_changed();
  for (Control* c : members) c->set_visible(visible());
}

}  // namespace qln::ui
