#include "support/ChildProcess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace testsupport {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

}  // namespace

pid_t StartChild(const std::function<bool()>& body) {
  // Whatever is buffered would otherwise be written twice.
  std::fflush(nullptr);
  const pid_t child = ::fork();
  // _exit: the child must not run the test program's exit handlers, which would
  // remove the parent's temporary folders.
  if (child == 0) ::_exit(body() ? 0 : 1);
  return child;
}

bool FinishChild(pid_t child) {
  if (child < 0) return false;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool AsOrdinaryUser(const std::filesystem::path& dir, const std::function<bool()>& check) {
  const bool root = ::geteuid() == 0;
  if (root) {
    std::error_code ignored;
    ::lchown(dir.c_str(), kNobody, kNoGroup);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ignored)) {
      ::lchown(entry.path().c_str(), kNobody, kNoGroup);
    }
  }
  return FinishChild(StartChild([&] {
    if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 ||
                 ::setuid(kNobody) != 0)) {
      std::perror("cannot become nobody");
      return false;
    }
    return check();
  }));
}

}  // namespace testsupport
