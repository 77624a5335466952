#include "platform/FileSave.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>

#include "platform/WriteAll.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

std::string Why(const char* what, int error) {
  return std::string(what) + " (" + std::strerror(error) + ")";
}

// Whether the process that named a temporary file can still be writing it. Under
// the folder's lock no save of this process is under way.
bool IsGone(pid_t pid) {
  return pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH);
}

// The temporaries an interrupted save left beside `target`: those of processes that
// no longer run, and those of the older kinds that carry no process at all. Folders
// are not ours and stay.
void RemoveLeftovers(const fs::path& target) {
  const std::string prefix = TemporaryPrefix(target);
  std::error_code error;
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string_view rest = std::string_view(name).substr(prefix.size());
    bool stale = rest.empty() || rest[0] == '.';
    if (!stale && rest[0] == '-') {
      pid_t pid = 0;
      const auto [end, ec] = std::from_chars(rest.data() + 1, rest.data() + rest.size(), pid);
      stale = ec == std::errc() && pid > 0 && end != rest.data() + rest.size() && *end == '-' &&
              IsGone(pid);
    }
    if (stale) ::unlink(it->path().c_str());
  }
}

}  // namespace

int FileCalls::Open(const char* path, int flags, mode_t mode) {
  return ::open(path, flags, mode);
}
int FileCalls::Sync(int fd) {
  return ::fsync(fd);
}
int FileCalls::Lock(int fd, int operation) {
  return ::flock(fd, operation);
}
int FileCalls::Rename(const char* from, const char* to) {
  return ::rename(from, to);
}
int FileCalls::Link(const char* from, const char* to) {
  return ::link(from, to);
}
FileCalls& FileCalls::System() {
  static FileCalls calls;
  return calls;
}

FolderLock::FolderLock(const fs::path& folder, FileCalls& calls) : m_calls(calls) {
  m_fd = m_calls.Open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
  if (m_fd < 0) {
    m_error = errno;
    return;
  }
  int result = 0;
  while ((result = m_calls.Lock(m_fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (result == 0) {
    m_status = SaveStatus::Saved;
  } else if (errno == EWOULDBLOCK) {
    m_status = SaveStatus::Busy;
  } else {
    m_error = errno;
  }
}

FolderLock::~FolderLock() {
  if (m_fd >= 0) ::close(m_fd);  // which lets go of the lock
}

void FolderLock::Sync() const {
  if (m_fd >= 0) m_calls.Sync(m_fd);
}

SaveStatus RetryWhileBusy(const std::function<SaveStatus()>& attempt,
                          std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    const SaveStatus status = attempt();
    if (status != SaveStatus::Busy || std::chrono::steady_clock::now() >= deadline) return status;
    // Short, so that a save finds the gap between two of another game's saves.
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
}

bool FollowLinks(const fs::path& file, fs::path& target, std::string& problem) {
  constexpr int kMaxLinks = 40;  // as the system allows in one path
  fs::path at = file;
  for (int link = 0; link <= kMaxLinks; ++link) {
    struct stat info {};
    if (::lstat(at.c_str(), &info) != 0) {
      if (errno != ENOENT) {
        problem = std::strerror(errno);
        return false;
      }
      target = at;
      return true;
    }
    if (!S_ISLNK(info.st_mode)) {
      target = at;
      return true;
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) {
      problem = ec.message();
      return false;
    }
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  problem = std::strerror(ELOOP);
  return false;
}

std::string TemporaryPrefix(const fs::path& target) {
  return target.filename().string() + ".tmp";
}

Replacement::~Replacement() {
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
}

bool Replacement::Write(const fs::path& target, const std::string& bytes, std::string& error) {
  m_target = target;
  RemoveLeftovers(target);
  static unsigned counter = 0;
  std::random_device random;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "-%ld-%u-%06x", static_cast<long>(::getpid()), ++counter,
                  random() & 0xFFFFFFu);
    const fs::path name = target.parent_path() / (TemporaryPrefix(target) + suffix);
    fd = m_calls.Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd >= 0) m_temporary = name;
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = Why("cannot create a temporary file", errno);
    return false;
  }
  struct stat old {};
  int failure = 0;
  // A file its owner could not read or write would be set aside at the next save.
  if (::stat(target.c_str(), &old) == 0 && ::fchmod(fd, (old.st_mode & 07777) | 0600) != 0) {
    failure = errno;
  }
  if (failure == 0 && !WriteAll(fd, bytes.data(), bytes.size())) failure = errno;
  if (failure == 0 && m_calls.Sync(fd) != 0) failure = errno;
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure != 0) {
    error = Why("writing failed", failure);
    return false;
  }
  return true;
}

bool Replacement::Commit(const FolderLock& lock, std::string& error) {
  if (m_calls.Rename(m_temporary.c_str(), m_target.c_str()) != 0) {
    error = Why("cannot replace the old file", errno != 0 ? errno : EIO);
    return false;
  }
  m_temporary.clear();
  lock.Sync();
  return true;
}

}  // namespace platform
