#pragma once
// The two ways a handler stops an archive run. Both leave the component's call and the job
// that started it; neither needs a further message.
#include "platform/error.h"

namespace qln::backup {

// A failure handler has shown its message already.
class Aborted : public Error {
 public:
  Aborted() : Error("Operation aborted") {}
};

// The user asked the progress window to stop.
class Cancelled : public Error {
 public:
  Cancelled() : Error("Operation cancelled") {}
};

}  // namespace qln::backup
