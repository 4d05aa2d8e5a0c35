#pragma once
// The main window: the program-wide state, its creation, show, hide and close steps, the
// chrome and panels, and the handlers of its controls.
#include <memory>
#include <string>

#include "app/app_windows.h"
#include "archive/archiver.h"
#include "backup/backup_components_win.h"
#include "lang/lang_system.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "settings/ini_file.h"
#include "ui/controls_win.h"
#include "ui/dialogs_win.h"
#include "ui/popup_menu_win.h"
#include "ui/timer_win.h"
#include "ui/tray_icon_win.h"
#include "ui/window_win.h"

namespace qln {

class Ttb_form : public ui::Window {
 public:
  Ttb_form(ui::WinApplication& app, AppWindows& windows, FileSystem& files, Environment& env,
           Registry& registry, bool auto_start);
  ~Ttb_form() override;

  // Creates the window and runs the creation step; an error in it is shown and the rest of
  // the step is skipped, but the window exists either way.
  void create();

  // Creation, show and close steps.
  void FormCreate();
  void FormShow();
  void FormClose();

  // Handlers.
  void start_timerTimer();
  void message_timerTimer();
  void TASKBAR_ICONClick();
  void mini_labelClick();
  void close_labelClick();
  void logo_imageMouseDown();
  void menu_imgClick();
  void go_ext_outTimer();
  void go_ext_inTimer();
  void copy_labelClick();
  void donateButtonClick();
  void de_langClick();
  void en_langClick();
  void bck_restoreClick();
  void ProgramDir_labelClick();
  void WorkingDirectory_LabelClick();
  void variable_dir_labelClick();
  void ProgramDir_checkClick();
  void WorkingDirectory_CheckClick();
  void variable_checkClick();
  void RegBckButtonClick();
  void RegBckClick();
  void bck_saveClick();
  void HideBackupList();

  // The show chain.
  void ApplyLanguage(int language);
  void ReadSettings();
  void Size_label();
  std::string misc(const std::string& builtin, const std::string& key);

  // Program-wide state.
  std::string ProgramDir, WorkingDirectory, VariableDir, auto_dir;
  std::string program_folder;
  bool STD_DIR_Checked = false, no_msg_check = false, close_tb_bck_check = false;
  bool panel_open = false;
  bool auto_bck_active = false;  // set while the daily backup runs

  // The settings file object, open from the creation step to the close step.
  IniFile* settings() const { return settings_.get(); }

  // Components.
  lang::Tlang_system& lang_system;
  ui::Timer& start_timer;
  ui::Timer& message_timer;
  ui::Timer& auto_bck_timer;
  ui::Timer& go_ext_out;
  ui::Timer& go_ext_in;
  ui::TrayIcon& TASKBAR_ICON;
  ui::PopupMenu& PopupMenu1;
  ui::MenuItem& RegBck;

  // Controls, in the order of the design.
  ui::Picture& bg_image;
  ui::Picture& footer_img;
  ui::Picture& linie_links;
  ui::Picture& linie_rechts;
  ui::Picture& logo_image;
  ui::Label& titel_label;
  ui::Picture& de_lang;
  ui::Picture& en_lang;
  ui::Picture& donateButton;
  ui::Label& mini_label;
  ui::Label& close_label;
  ui::Label& info_label;
  ui::ImageCheck& ProgramDir_check;
  ui::Label& ProgramDir_titel;
  ui::LinkLabel& ProgramDir_label;
  ui::ImageCheck& WorkingDirectory_Check;
  ui::Label& WorkingDirectory_titel;
  ui::LinkLabel& WorkingDirectory_Label;
  ui::ImageCheck& variable_check;
  ui::Label& variable_titel;
  ui::LinkLabel& variable_dir_label;
  ui::Picture& menu_img;
  ui::SpeedButton& bck_save;
  ui::SpeedButton& RegBckButton;
  ui::SpeedButton& bck_restore;
  ui::SpeedButton& CloseButton;
  ui::Label& copy_label;
  ui::Picture& linie_mitte;
  ui::Panel& bg_frame_1;
  ui::Label& JvLabel1;
  ui::ListView& bck_list;
  ui::SpeedButton& restore_bck_button;
  ui::Label& restore_bck_label;
  ui::SpeedButton& del_backup_button;
  ui::Label& del_backup_label;
  ui::SpeedButton& search_backup;
  ui::Label& search_backup_label;

  ui::WinDialogs& dialogs() { return dialogs_; }

 protected:
  LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void wire_handlers();
  void discover_locations();
  static void show_path(ui::Label& label, const std::string& text);
  // A user-defined directory inside the program directory would be archived twice: the user
  // is told and the user-defined option goes off.
  void check_directory_overlap();
  void option_clicked(ui::ImageCheck& icon, const char* key, ui::Label& label);
  // The backup job's components, made at the first job (the progress window exists by then).
  backup::BackupComponents& backup_components();
  bool job_running();  // true while a backup job runs: other commands are refused then
  void apply_outline();
  void place_settings_panel();
  void set_window_height(int height);
  bool list_shown() const;
  int collapsed_height() const;

  AppWindows& windows_;
  FileSystem& files_;
  Environment& env_;
  Registry& registry_;
  std::unique_ptr<CommandRunner> runner_;
  std::unique_ptr<archive::ArchiveFileSystem> archive_files_;
  std::unique_ptr<archive::Archiver> archiver_;
  std::unique_ptr<backup::BackupComponents> backup_;
  HICON icon_ = nullptr;  // shared with the system; LoadIcon's icons are never destroyed
  ui::WinDialogs dialogs_;
  bool auto_start_;
  std::unique_ptr<IniFile> settings_;
  HRGN region_ = nullptr;  // owned by the system once set as the window region
};

}  // namespace qln
