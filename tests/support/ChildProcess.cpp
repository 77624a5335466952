#include "support/ChildProcess.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace testsupport {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

}  // namespace

ChildProcess::ChildProcess(const std::function<bool()>& body) {
  // Whatever is buffered would otherwise be written twice.
  std::fflush(nullptr);
  m_pid = ::fork();
  // _exit: the child must not run the test program's exit handlers, which would
  // remove the parent's temporary folders.
  if (m_pid == 0) ::_exit(body() ? 0 : 1);
  if (m_pid < 0) std::perror("fork");
  m_ended = m_pid < 0;
}

ChildProcess::~ChildProcess() {
  if (m_ended) return;
  ::kill(m_pid, SIGKILL);
  Reap(true);
}

bool ChildProcess::Reap(bool wait) {
  while (!m_ended) {
    int status = 0;
    const pid_t done = ::waitpid(m_pid, &status, wait ? 0 : WNOHANG);
    if (done == 0) break;
    if (done < 0 && errno == EINTR) continue;
    // A child that cannot be waited for counts as failed, not as running.
    m_ended = true;
    m_succeeded = done == m_pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  return m_ended;
}

bool ChildProcess::Running() {
  return !Reap(false);
}

bool ChildProcess::Succeeded() {
  return Reap(true) && m_succeeded;
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
  ChildProcess child([&] {
    if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 ||
                 ::setuid(kNobody) != 0)) {
      std::perror("cannot become nobody");
      return false;
    }
    return check();
  });
  return child.Succeeded();
}

}  // namespace testsupport
