#include "platform/fake/fake_recycle_bin.h"

namespace qln {

bool FakeRecycleBin::move_to_recycle_bin(const std::string& folder) {
  recycled.push_back(folder);
  return result;
}

}  // namespace qln
