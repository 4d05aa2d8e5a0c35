#pragma once
// One job at a time. The main window owns one JobLock; the backup job holds it while it runs,
// and every command that changes sets, directories or the registry asks busy() first, since a
// job pumps window messages (timers and clicks run inside it) and during an automatic run every
// box is answered for the user.
namespace qln::backup {

class JobLock {
 public:
  bool busy() const { return busy_; }

  class Hold {
   public:
    explicit Hold(JobLock& lock) : lock_(lock) { lock_.busy_ = true; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    ~Hold() { lock_.busy_ = false; }

   private:
    JobLock& lock_;
  };

 private:
  bool busy_ = false;
};

}  // namespace qln::backup
