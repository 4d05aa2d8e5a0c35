#include "automation/autorun.h"

namespace qln {

std::string autorun_link_path(Environment& env, const std::string& app_name) {
  std::string folder = env.startup_folder();
  if (folder.empty()) return {};
  return folder + app_name + ".lnk";
}

bool IsAppInRun(Environment& env, FileSystem& files, const std::string& app_name) {
  std::string path = autorun_link_path(env, app_name);
  return !path.empty() && files.file_exists(path);
}

}  // namespace qln
