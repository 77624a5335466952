// Test bodies that must run in a process of their own: several processes at once
// on one file, or a user that file modes bind.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>

namespace testsupport {

// Runs `body` in a forked child, which ends at once with status 0 when it returns
// true and 1 otherwise. A child cannot fail the parent's test: it reports through
// its status and explains itself on stderr.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<bool()>& body);
  // A child still running when its test gives up is killed, not left behind.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running();
  // Waits for the child; true when its body returned true.
  bool Succeeded();

 private:
  bool Reap(bool wait);

  pid_t m_pid;
  bool m_ended = false;
  bool m_succeeded = false;
};

// Runs `check` in a child as a user that file modes bind. As root (who ignores
// them) the child drops to nobody, after `dir` and everything in it are handed
// to nobody so that the check can use them; otherwise it keeps this user.
bool AsOrdinaryUser(const std::filesystem::path& dir, const std::function<bool()>& check);

}  // namespace testsupport
