#include "app/tb_form.h"

#include "app/about_form.h"
#include "app/file_version.h"
#include "app/resources.h"
#include "automation/autorun.h"
#include "automation/ext_form_win.h"
#include "backup/backup_job.h"
#include "backup/close_mail_client.h"
#include "platform/os_version.h"
#include "client/discovery.h"
#include "client/manual_choice.h"
#include "client/overlap.h"
#include "registry/registry_backup.h"
#include "settings/settings_keys.h"
#include "lang/apply_language.h"
#include "platform/error.h"
#include "settings/read_settings.h"
#include "settings/settings_location.h"
#include "ui/confirm_dialog_win.h"
#include "ui/shorten_path.h"

namespace qln {

using ui::Rect;
using namespace settings_keys;

namespace {

constexpr COLORREF kSteelBlue = RGB(53, 95, 132);
constexpr int kListExtraHeight = 230;
constexpr char kAppName[] = "Quillane";
constexpr char kDonatePage[] = "https://www.paypal.com/donate";
// Posted by a job's handler so the close decision runs after the handler has returned.
constexpr UINT kRunCloseDecision = WM_APP + 2;

void paint_line(ui::Picture& p, COLORREF color) {
  p.paint = [color](HDC dc, const RECT& r) {
    win32::GdiObject<HBRUSH> b(CreateSolidBrush(color));
    FillRect(dc, &r, b.get());
  };
}

}  // namespace

Ttb_form::Ttb_form(ui::WinApplication& app, AppWindows& windows, FileSystem& files,
                   Environment& env, Registry& registry, bool auto_start)
    : ui::Window(app, "tb_form", kAppName),
      lang_system(add<lang::Tlang_system>(app, files)),
      start_timer(add_timer("start_timer", 1000)),
      message_timer(add_timer("message_timer", 500)),
      auto_bck_timer(add_timer("auto_bck_timer", 500)),
      go_ext_out(add_timer("go_ext_out", 10)),
      go_ext_in(add_timer("go_ext_in", 10)),
      TASKBAR_ICON(add<ui::TrayIcon>("TASKBAR_ICON", kAppName)),
      PopupMenu1(add<ui::PopupMenu>("PopupMenu1")),
      RegBck(add<ui::MenuItem>("RegBck", "Komplette TheBat! Registry")),
      bg_image(add_control<ui::Picture>("bg_image", Rect{0, 0, 522, 235})),
      footer_img(add_control<ui::Picture>("footer_img", Rect{0, 235, 522, 14})),
      linie_links(add_control<ui::Picture>("linie_links", Rect{0, 0, 1, 249})),
      linie_rechts(add_control<ui::Picture>("linie_rechts", Rect{521, 0, 1, 249})),
      logo_image(add_control<ui::Picture>("logo_image", Rect{12, 2, 41, 39}, kAppName)),
      titel_label(add_control<ui::Label>("titel_label", "Quillane v.", Rect{59, 4})),
      de_lang(add_control<ui::Picture>("de_lang", Rect{403, 5, 16, 11}, "Deutsch")),
      en_lang(add_control<ui::Picture>("en_lang", Rect{425, 5, 16, 11}, "English")),
      donateButton(add_control<ui::Picture>("donateButton", Rect{460, 3, 13, 16}, "Donate...")),
      mini_label(add_control<ui::Label>("mini_label", "_", Rect{484, 2})),
      close_label(add_control<ui::Label>("close_label", "X", Rect{503, 4})),
      info_label(add_control<ui::Label>(
          "info_label", "Aktivieren/Deaktivieren von Optionen Icon klicken", Rect{2, 25, 14, 207})),
      ProgramDir_check(add_control<ui::ImageCheck>("ProgramDir_check",
                                                   "Programmverzeichnis sichern",
                                                   Rect{20, 48, 33, 33}, "prog_on", "prog_off")),
      ProgramDir_titel(add_control<ui::Label>("ProgramDir_titel",
                                              "Pfad zur The Bat! Installation:", Rect{59, 51})),
      ProgramDir_label(add_control<ui::LinkLabel>("ProgramDir_label", "none", Rect{59, 66})),
      WorkingDirectory_Check(
          add_control<ui::ImageCheck>("WorkingDirectory_Check", "Mail-Verzeichnis sichern",
                                      Rect{20, 99, 32, 32}, "mail_on", "mail_off")),
      WorkingDirectory_titel(add_control<ui::Label>("WorkingDirectory_titel",
                                                    "Pfad zum Daten-Verzeichnis:", Rect{59, 102})),
      WorkingDirectory_Label(
          add_control<ui::LinkLabel>("WorkingDirectory_Label", "none", Rect{59, 117})),
      variable_check(add_control<ui::ImageCheck>("variable_check",
                                                 "Frei wählbares Verzeichnis sichern",
                                                 Rect{20, 151, 33, 33}, "var_on", "var_off")),
      variable_titel(add_control<ui::Label>("variable_titel",
                                            "Frei wählbares Verzeichnis sichern:", Rect{59, 153})),
      variable_dir_label(add_control<ui::LinkLabel>("variable_dir_label",
                                                    "Bitte Verzeichnis wählen", Rect{59, 168})),
      menu_img(add_control<ui::Picture>("menu_img", Rect{511, 64, 8, 100}, "Einstellungen")),
      bck_save(add_control<ui::SpeedButton>("bck_save", "Backup starten", Rect{20, 202, 100, 25})),
      RegBckButton(add_control<ui::SpeedButton>("RegBckButton", "Registry sichern",
                                                Rect{136, 202, 120, 25})),
      bck_restore(add_control<ui::SpeedButton>("bck_restore", "Backups verwalten",
                                               Rect{272, 202, 130, 25})),
      CloseButton(add_control<ui::SpeedButton>("CloseButton", "Beenden", Rect{437, 202, 70, 25})),
      copy_label(add_control<ui::Label>("copy_label", "© Quillane", Rect{390, 234})),
      linie_mitte(add_control<ui::Picture>("linie_mitte", Rect{0, 237, 522, 1})),
      bg_frame_1(add_control<ui::Panel>("bg_frame_1", Rect{4, 238, 516, 222})),
      JvLabel1(add_control<ui::Label>("JvLabel1", "Verfügbare Backups:", Rect{12, 244})),
      bck_list(add_control<ui::ListView>("bck_list", Rect{12, 262, 300, 190})),
      restore_bck_button(
          add_control<ui::SpeedButton>("restore_bck_button", "Ausführen", Rect{324, 270, 80, 22})),
      restore_bck_label(add_control<ui::Label>(
          "restore_bck_label", "Markiertes Backup wiederherstellen", Rect{324, 294})),
      del_backup_button(
          add_control<ui::SpeedButton>("del_backup_button", "Ausführen", Rect{324, 330, 80, 22})),
      del_backup_label(
          add_control<ui::Label>("del_backup_label", "Markiertes Backup löschen", Rect{324, 354})),
      search_backup(
          add_control<ui::SpeedButton>("search_backup", "Suchen", Rect{324, 390, 80, 22})),
      search_backup_label(add_control<ui::Label>(
          "search_backup_label", "Fehlende Backups in die Liste einfügen", Rect{324, 414})),
      windows_(windows),
      files_(files),
      env_(env),
      registry_(registry),
      dialogs_(app),
      auto_start_(auto_start) {
  PopupMenu1.items.push_back(&RegBck);
  runner_ = make_command_runner(dialogs_, [&app] { app.process_messages(); });
  wire_handlers();
}

Ttb_form::~Ttb_form() = default;

void Ttb_form::wire_handlers() {
  ui::FontSpec title{"Georgia", 12, true, true};
  titel_label.set_font(title);
  ui::FontSpec caption_button{"Verdana", 12, true};
  for (ui::Label* l : {&mini_label, &close_label}) {
    l->set_font(caption_button);
    l->text_color = kSteelBlue;
    l->hand_cursor = true;
  }
  info_label.vertical = true;
  info_label.auto_size = false;
  info_label.set_font({"Arial", 9, false, false, false, 900});
  info_label.text_color = RGB(108, 108, 108);
  ui::FontSpec underlined{"Georgia", 11, false, false, true};
  for (ui::Label* l : {&ProgramDir_titel, &WorkingDirectory_titel, &variable_titel})
    l->set_font(underlined);
  copy_label.hand_cursor = true;
  for (ui::Picture* p : {&de_lang, &en_lang, &donateButton, &menu_img}) p->hand_cursor = true;

  de_lang.set_hint("Sprache ändern in Deutsch");
  en_lang.set_hint("Change language to english");
  donateButton.set_hint("Donate...");
  mini_label.set_hint("Fenster minimieren");
  close_label.set_hint("Beenden");
  menu_img.set_hint("Einstellungen");

  paint_line(linie_links, RGB(160, 160, 160));
  paint_line(linie_rechts, RGB(160, 160, 160));
  paint_line(linie_mitte, RGB(160, 160, 160));
  paint_line(footer_img, RGB(225, 230, 236));
  bg_image.paint = [](HDC dc, const RECT& r) {
    RECT band{r.left, r.top, r.right, r.top + 44};
    win32::GdiObject<HBRUSH> b(CreateSolidBrush(RGB(232, 236, 241)));
    FillRect(dc, &band, b.get());
  };
  linie_mitte.set_visible(false);
  bg_frame_1.set_visible(false);
  bg_frame_1.members = {&JvLabel1,          &bck_list,           &restore_bck_button,
                        &restore_bck_label, &del_backup_button,  &del_backup_label,
                        &search_backup,     &search_backup_label};
  for (ui::Control* c : bg_frame_1.members) c->set_visible(false);
  bck_list.set_columns({{"Vom:", 150}, {"Größe kb:", 120}});
  RegBckButton.drop_down = true;

  start_timer.on_timer = [this] { start_timerTimer(); };
  message_timer.on_timer = [this] { message_timerTimer(); };
  go_ext_out.on_timer = [this] { go_ext_outTimer(); };
  go_ext_in.on_timer = [this] { go_ext_inTimer(); };
  mini_label.on_click = [this] { mini_labelClick(); };
  close_label.on_click = [this] { close_labelClick(); };
  CloseButton.on_click = [this] { close_labelClick(); };
  menu_img.on_click = [this] { menu_imgClick(); };
  copy_label.on_click = [this] { copy_labelClick(); };
  donateButton.on_click = [this] { donateButtonClick(); };
  de_lang.on_click = [this] { de_langClick(); };
  en_lang.on_click = [this] { en_langClick(); };
  bck_restore.on_click = [this] { bck_restoreClick(); };
  ProgramDir_label.on_click = [this] { ProgramDir_labelClick(); };
  WorkingDirectory_Label.on_click = [this] { WorkingDirectory_LabelClick(); };
  variable_dir_label.on_click = [this] { variable_dir_labelClick(); };
  ProgramDir_check.on_click = [this] { ProgramDir_checkClick(); };
  WorkingDirectory_Check.on_click = [this] { WorkingDirectory_CheckClick(); };
  variable_check.on_click = [this] { variable_checkClick(); };
  RegBckButton.on_click = [this] { RegBckButtonClick(); };
  RegBck.on_click = [this] { RegBckClick(); };
  bck_save.on_click = [this] { bck_saveClick(); };
  for (ui::WinControl* c : std::initializer_list<ui::WinControl*>{
           &footer_img, &linie_links, &bg_image, &ProgramDir_titel, &WorkingDirectory_titel,
           &info_label, &linie_rechts, &linie_mitte, &variable_titel, &logo_image, &titel_label,
           &bg_frame_1, &JvLabel1, &restore_bck_label, &del_backup_label, &search_backup_label})
    c->on_mouse_down = [this] { logo_imageMouseDown(); };
}

int Ttb_form::collapsed_height() const {
  return bg_image.bounds().height + footer_img.bounds().height;
}

bool Ttb_form::list_shown() const { return bounds().height > collapsed_height(); }

void Ttb_form::create() {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int w = bg_image.bounds().width, h = collapsed_height();
  set_bounds(
      {(GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, w, h});
  ui::WindowStyle style;
  style.style = WS_POPUP | WS_MINIMIZEBOX | WS_SYSMENU;
  style.ex_style = WS_EX_APPWINDOW;
  create_window(style);
  bg_image.send_to_back();
  bg_frame_1.send_to_back();
  icon_ = LoadIconW(app().instance(), L"MAINICON");
  TASKBAR_ICON.attach(hwnd(), icon_);
  dispatch([this] { FormCreate(); });
}

void Ttb_form::FormCreate() {
  // 1. The settings window, owned by the application, created here exactly once.
  auto& ext = app().add<Text_form>(app());
  windows_.ext_form = &ext;
  ext.FormCreate(hwnd());

  // 2. Title with the executable's file version.
  titel_label.set_caption("Quillane v." + OwnFileVersion());

  // 3. Collapsed size; footer label and separator follow the window.
  set_window_height(collapsed_height());
  linie_mitte.set_bounds({0, linie_mitte.bounds().top, bounds().width, 1});

  // 4. The settings file beside the executable; one left in the roaming folder by an older
  // version moves here unless a file already stands here.
  program_folder = env_.program_folder();
  migrate_settings_file(files_, env_.variable("Appdata"), program_folder);
  settings_ = std::make_unique<IniFile>(files_, settings_file_path(program_folder));

  // 5. The settings handle shows the panel closed.
  menu_img.load_bitmap("m_open");
  panel_open = false;
  de_lang.load_bitmap("flag_de");
  en_lang.load_bitmap("flag_en");
  logo_image.load_bitmap("logo");
  donateButton.load_bitmap("donate");

  // 6. Outline (already given by set_window_height above).
  // 7. Hints show at once and stay ten seconds.
  app().set_hint_timing(0, 10000);
  SendMessageW(tooltip(), TTM_SETDELAYTIME, TTDT_INITIAL, 0);
  SendMessageW(tooltip(), TTM_SETDELAYTIME, TTDT_AUTOPOP, 10000);

  // 8. "/auto" hides the window about a second after start.
  if (auto_start_) start_timer.set_enabled(true);

  // 9. The language files in the temporary folder.
  auto english = EmbeddedData("English"), german = EmbeddedData("Deutsch");
  if (!english || !german) throw Error("Die Sprachdateien fehlen im Programm");
  lang::extract_language_files(files_, lang::language_folder(env_), *english, *german);

  // 10.
  Size_label();
}

void Ttb_form::FormShow() {
  // The settings file object exists unless the creation step failed before opening it.
  ApplyLanguage(settings_ ? settings_->read_integer(kInfos, kLang, 0) : 0);
}

void Ttb_form::ApplyLanguage(int language) {
  if (settings_)
    lang::load_language(language, lang::language_folder(env_), lang_system, *settings_,
                        [this](const lang::ListColumnCaptions& captions) {
                          bck_list.set_column_caption(0, captions.date);
                          bck_list.set_column_caption(1, captions.size);
                        });
  ReadSettings();
  Size_label();
}

std::string Ttb_form::misc(const std::string& builtin, const std::string& key) {
  return lang_system.misc(builtin, key);
}

void Ttb_form::ReadSettings() {
  Text_form& ext = *windows_.ext_form;
  // 1. Autostart state: armed while the start-up shortcut exists.
  bool armed = IsAppInRun(env_, files_, kAppName);
  ext.auto_button.set_caption(armed ? misc("Autobackup beenden", "MSG_19")
                                    : misc("Autobackup starten", "MSG_20"));
  auto_bck_timer.set_enabled(armed);
  TASKBAR_ICON.set_visible(armed);
  if (!settings_) return;

  auto lookup = [this](const std::string& v, const std::string& k) { return misc(v, k); };
  auto exists = [this](const std::string& p) { return files_.directory_exists(p); };
  SettingsRead read =
      qln::ReadSettings(*settings_, lookup, env_.now(), exists, env_.time_separator());
  // 2. The picker keeps its value when the stored time does not convert; the error is shown
  // and the rest still runs, so the directories are found all the same.
  if (read.auto_time) ext.auto_bck_time.set_time(*read.auto_time);
  if (read.auto_time_error) app().show_error(*read.auto_time_error);
  // 3.
  show_path(ext.autoDir_label, read.auto_dir_caption);
  auto_dir = read.auto_dir;
  // 4. Location discovery.
  discover_locations();
  // 5.-7. Option icons and the user-defined directory.
  variable_check.set_checked(read.variable_check);
  if (read.variable_dir) show_path(variable_dir_label, VariableDir = *read.variable_dir);
  ProgramDir_check.set_checked(read.program_dir_check);
  WorkingDirectory_Check.set_checked(read.working_directory_check);
  // 8.
  STD_DIR_Checked = read.std_dir_checked;
  no_msg_check = read.no_msg_check;
  close_tb_bck_check = read.close_tb_bck_check;
  ext.std_dir_checked.set_checked(STD_DIR_Checked);
  ext.no_msg_check.set_checked(no_msg_check);
  ext.close_tb_bck_check.set_checked(close_tb_bck_check);
  // 9. A label can be clicked only while its icon is on.
  ProgramDir_label.set_enabled(ProgramDir_check.checked());
  WorkingDirectory_Label.set_enabled(WorkingDirectory_Check.checked());
  variable_dir_label.set_enabled(variable_check.checked());
  check_directory_overlap();
}

void Ttb_form::show_path(ui::Label& label, const std::string& text) {
  // The hint keeps the whole text; Size_label may shorten the caption.
  label.set_caption(text);
  label.set_hint(text);
}

void Ttb_form::discover_locations() {
  auto lookup = [this](const std::string& v, const std::string& k) { return misc(v, k); };
  // The program label is set before the mail value is read, so a bad mail value leaves it.
  client::FoundDirectory program = client::discover_program_directory(registry_, lookup);
  show_path(ProgramDir_label, program.label);
  ProgramDir = program.directory;
  client::FoundDirectory mail = client::discover_mail_directory(registry_, env_, lookup);
  show_path(WorkingDirectory_Label, mail.label);
  WorkingDirectory = mail.directory;
}

void Ttb_form::check_directory_overlap() {
  if (!client::user_directory_inside_program_directory(ProgramDir, ProgramDir_check.checked(),
                                                       VariableDir, variable_check.checked()))
    return;
  dialogs_.message(misc(client::kMsg23.builtin, client::kMsg23.key));
  variable_check.set_checked(false);
  variable_dir_label.set_enabled(false);
  settings_->write_bool(kInfos, kVariableCheck, false);
}

void Ttb_form::ProgramDir_labelClick() {
  auto lookup = [this](const std::string& v, const std::string& k) { return misc(v, k); };
  if (auto dir = client::choose_program_directory(dialogs_, lookup))
    show_path(ProgramDir_label, ProgramDir = *dir);
  Size_label();
}

void Ttb_form::WorkingDirectory_LabelClick() {
  auto lookup = [this](const std::string& v, const std::string& k) { return misc(v, k); };
  if (auto dir = client::choose_mail_directory(dialogs_, files_, lookup))
    show_path(WorkingDirectory_Label, WorkingDirectory = *dir);
  Size_label();
}

void Ttb_form::variable_dir_labelClick() {
  auto lookup = [this](const std::string& v, const std::string& k) { return misc(v, k); };
  if (auto dir =
          client::choose_user_directory(dialogs_, files_, lookup, variable_dir_label.hint())) {
    show_path(variable_dir_label, VariableDir = *dir);
    settings_->write_string(kInfos, kVariableDir, *dir);
    variable_check.set_checked(true);  // on screen only; its stored state follows its clicks
    check_directory_overlap();
  }
  Size_label();
}

void Ttb_form::option_clicked(ui::ImageCheck& icon, const char* key, ui::Label& label) {
  settings_->write_bool(kInfos, key, icon.checked());
  label.set_enabled(icon.checked());
}

void Ttb_form::ProgramDir_checkClick() {
  option_clicked(ProgramDir_check, kProgramDirCheck, ProgramDir_label);
  check_directory_overlap();
}

void Ttb_form::WorkingDirectory_CheckClick() {
  option_clicked(WorkingDirectory_Check, kWorkingDirectoryCheck, WorkingDirectory_Label);
}

void Ttb_form::variable_checkClick() {
  option_clicked(variable_check, kVariableCheck, variable_dir_label);
  check_directory_overlap();
}

void Ttb_form::RegBckButtonClick() {
  RECT r;
  GetWindowRect(RegBckButton.hwnd(), &r);
  PopupMenu1.popup(*this, r.left, r.bottom);
}

void Ttb_form::RegBckClick() {
  if (job_running()) return;
  auto lookup = [this](const std::string& v, const std::string& k) { return misc(v, k); };
  registry::RegBckClick(registry_, dialogs_, *runner_, files_, lookup);
}

void Ttb_form::Size_label() {
  constexpr int kWidth = 500;
  auto fit = [](ui::Label& label) {
    label.set_caption(ui::ShortenPath(
        label.caption(), [&](const std::string& t) { return label.text_width(t); }, kWidth));
  };
  fit(ProgramDir_label);
  fit(WorkingDirectory_Label);
  fit(variable_dir_label);
  if (windows_.ext_form) fit(windows_.ext_form->autoDir_label);
}

void Ttb_form::FormClose() {
  settings_.reset();
  lang::delete_language_files(files_, lang::language_folder(env_));
}

void Ttb_form::start_timerTimer() {
  start_timer.set_enabled(false);
  hide();
}

void Ttb_form::message_timerTimer() { ui::ConfirmDialog(); }

void Ttb_form::TASKBAR_ICONClick() { show(); }

void Ttb_form::mini_labelClick() { ShowWindow(hwnd(), SW_MINIMIZE); }

void Ttb_form::close_labelClick() {
  if (IsAppInRun(env_, files_, kAppName)) {
    hide();
    if (windows_.ext_form->showing()) menu_imgClick();
    return;
  }
  close();
}

void Ttb_form::logo_imageMouseDown() {
  ReleaseCapture();
  SendMessageW(hwnd(), WM_SYSCOMMAND, 0xF012, 0);  // move by caption
}

void Ttb_form::menu_imgClick() {
  Text_form& ext = *windows_.ext_form;
  const Rect b = bounds();
  if (!panel_open) {
    menu_img.load_bitmap("m_close");
    panel_open = true;
    go_ext_out.set_enabled(true);
    move_to(b.left - 200, b.top);
    ext.resize(0, ext.bounds().height);
    place_settings_panel();
    ShowWindow(ext.hwnd(), SW_SHOWNOACTIVATE);
  } else {
    menu_img.load_bitmap("m_open");
    panel_open = false;
    go_ext_in.set_enabled(true);
    move_to(b.left + 200, b.top);
  }
}

void Ttb_form::go_ext_outTimer() {
  Text_form& ext = *windows_.ext_form;
  if (ext.bounds().width > 400)
    go_ext_out.set_enabled(false);
  else
    ext.resize(ext.bounds().width + 50, ext.bounds().height);
}

void Ttb_form::go_ext_inTimer() {
  Text_form& ext = *windows_.ext_form;
  if (ext.bounds().width > 0) {
    ext.resize(ext.bounds().width - 50, ext.bounds().height);
  } else {
    go_ext_in.set_enabled(false);
    ext.hide();
  }
}

void Ttb_form::place_settings_panel() {
  Text_form* ext = windows_.ext_form;
  if (!ext || !ext->hwnd() || !hwnd()) return;
  RECT r = window_rect();
  ext->move_to(r.right, r.top + 30);
}

void Ttb_form::copy_labelClick() {
  if (windows_.about) windows_.about->ShowModal(*this);
}

void Ttb_form::donateButtonClick() { OpenWebPage(kDonatePage); }

void Ttb_form::de_langClick() { ApplyLanguage(0); }

void Ttb_form::en_langClick() { ApplyLanguage(1); }

backup::BackupComponents& Ttb_form::backup_components() {
  if (!backup_) {
    archive_files_ = archive::make_local_archive_file_system();
    archiver_ = std::make_unique<archive::Archiver>(*archive_files_);
    backup_ = std::make_unique<backup::BackupComponents>(app(), *windows_.frmProgress, *this,
                                                         dialogs_, *archiver_, auto_bck_active);
    backup_->attach(hwnd(), icon_);
  }
  return *backup_;
}

bool Ttb_form::job_running() {
  // During an automatic run every box is answered at once, so nothing else may start then.
  return backup_ && backup_->lock.busy();
}

void Ttb_form::bck_saveClick() {
  backup::BackupComponents& c = backup_components();
  backup::BackupSnapshot state;
  state.mail_dir = WorkingDirectory;
  state.program_dir = ProgramDir;
  state.variable_dir = VariableDir;
  state.mail_on = WorkingDirectory_Check.checked();
  state.program_on = ProgramDir_check.checked();
  state.variable_on = variable_check.checked();
  state.auto_dir = auto_dir;
  state.STD_DIR_Checked = STD_DIR_Checked;
  state.no_msg_check = no_msg_check;
  state.close_tb_bck_check = close_tb_bck_check;
  state.auto_bck_active = auto_bck_active;
  backup::BackupServices services{
      dialogs_,
      files_,
      env_,
      *settings_,
      [this](const std::string& v, const std::string& k) { return misc(v, k); },
      *runner_,
      c.engine,
      c.handlers,
      c.view,
      *c.recycle_bin,
      *c.notifier,
      c.lock,
      [this] { return client::ClientInstalled(registry_); },
      [] { backup::CloseMailClient(); },
      os_major_version()};
  backup::BackupOutcome outcome = backup::bck_saveClick(state, services);
  if (outcome.tidy_panels) {
    if (windows_.ext_form->showing() && panel_open) menu_imgClick();
    HideBackupList();
  }
  if (outcome.run_close_decision) PostMessageW(hwnd(), kRunCloseDecision, 0, 0);
}

void Ttb_form::HideBackupList() {
  if (!list_shown()) return;
  set_window_height(collapsed_height());
  linie_mitte.set_visible(false);
  bg_frame_1.set_visible(false);
  bck_restore.set_caption(misc("Backups verwalten", "MSG_24"));
}

void Ttb_form::bck_restoreClick() {
  if (!list_shown()) {
    set_window_height(collapsed_height() + kListExtraHeight);
    linie_mitte.set_bounds({0, bg_image.bounds().height + 2, bounds().width, 1});
    linie_mitte.set_visible(true);
    bg_frame_1.set_visible(true);
    bck_restore.set_caption(misc("Liste ausblenden", "MSG_25"));
  } else {
    HideBackupList();
  }
  if (windows_.ext_form->showing() && panel_open) menu_imgClick();
}

void Ttb_form::set_window_height(int height) {
  resize(bounds().width, height);
  copy_label.set_bounds({copy_label.bounds().left, height - 15, copy_label.bounds().width,
                         copy_label.bounds().height});
  footer_img.set_bounds(
      {0, height - footer_img.bounds().height, bounds().width, footer_img.bounds().height});
  linie_links.set_bounds({0, 0, 1, height});
  linie_rechts.set_bounds({bounds().width - 1, 0, 1, height});
  apply_outline();
}

void Ttb_form::apply_outline() {
  const Rect& b = bounds();
  region_ = CreateRoundRectRgn(0, 0, b.width + 1, b.height + 1, 9, 9);
  SetWindowRgn(hwnd(), region_, TRUE);
}

LRESULT Ttb_form::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) dispatch([this] { FormShow(); });
      break;
    case WM_WINDOWPOSCHANGED:
      place_settings_panel();
      break;
    case WM_CLOSE:
      dispatch([this] { FormClose(); });
      DestroyWindow(hwnd());
      return 0;
    case WM_DESTROY:
      TASKBAR_ICON.set_visible(false);
      PostQuitMessage(0);
      return 0;
    case kRunCloseDecision:
      dispatch([this] { close_labelClick(); });
      return 0;
    case ui::TrayIcon::kCallbackMessage:
      if (LOWORD(lp) == WM_LBUTTONUP) dispatch([this] { TASKBAR_ICONClick(); });
      return 0;
    default:
      break;
  }
  return default_handling(msg, wp, lp);
}

}  // namespace qln
