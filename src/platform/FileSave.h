// Saving a small file of the player's so that it is never torn, never lost and never
// waited on without end: a save takes a lock on the file's folder without waiting,
// writes a fresh temporary file beside it, syncs it to the disk and renames it over
// the old one. The score file and the controls file both save this way.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace platform {

enum class SaveStatus {
  Saved,
  Busy,    // another game's save holds the folder; nothing was changed
  Failed,  // not saved; the old file is as it was
};

// Another game's save holds the folder for a few milliseconds. A save that finds it
// held tries again for this long, then gives up with a message that says so.
inline constexpr std::chrono::milliseconds kSaveLockPatience{2000};
// The same for a screen that tries once a frame (60 a second), so no frame waits.
inline constexpr int kSaveLockFrames = 120;

// The file-system calls whose order and kind keep a save whole, so that tests can
// watch them or make one fail. Each returns what the system call does and sets errno.
class FileCalls {
 public:
  virtual ~FileCalls() = default;
  virtual int Open(const char* path, int flags, mode_t mode);
  virtual int Sync(int fd);
  virtual int Lock(int fd, int operation);
  virtual int Rename(const char* from, const char* to);
  virtual int Link(const char* from, const char* to);
  // The calls as the system makes them.
  static FileCalls& System();
};

// An exclusive lock on a folder, tried once and never waited for; it is let go
// when the object goes.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder, FileCalls& calls = FileCalls::System());
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Saved once held, Busy while another holds it, Failed (with Error()) otherwise.
  SaveStatus Status() const { return m_status; }
  int Error() const { return m_error; }
  // Makes a rename in the folder last; a folder that cannot be synced still holds
  // a whole file, old or new, so a failure is not reported.
  void Sync() const;

 private:
  FileCalls& m_calls;
  int m_fd = -1;
  int m_error = 0;
  SaveStatus m_status = SaveStatus::Failed;
};

// Calls `attempt` again while it says Busy, a fraction of a millisecond apart, until `patience`
// has passed; for saves that have no frames to spread their tries over.
SaveStatus RetryWhileBusy(const std::function<SaveStatus()>& attempt,
                          std::chrono::milliseconds patience = kSaveLockPatience);

// `file` with every symbolic link followed (a dangling one too): the file a save
// replaces, so that a link the player keeps stays a link. False with the reason.
bool FollowLinks(const std::filesystem::path& file, std::filesystem::path& target,
                 std::string& problem);

// The new contents of a file, written beside it under a temporary name and then put
// in its place by one rename; while its folder's lock is held. The temporary file is
// created exclusively, never through a link, and named after this process, so that a
// later save removes it should this process die before the rename; Write removes
// such leftovers of processes that no longer run. A temporary file that is not put
// in place is removed when the object goes.
class Replacement {
 public:
  explicit Replacement(FileCalls& calls = FileCalls::System()) : m_calls(calls) {}
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // Writes `bytes` and syncs them to the disk. The new file takes the old one's mode
  // with reading and writing for its owner added, or 0644 less the umask for a new
  // file. False with "what failed (why)" in `error`.
  bool Write(const std::filesystem::path& target, const std::string& bytes, std::string& error);
  // Renames the written file over the target and syncs the folder.
  bool Commit(const FolderLock& lock, std::string& error);

 private:
  FileCalls& m_calls;
  std::filesystem::path m_target;
  std::filesystem::path m_temporary;
};

// The start of the temporary files' names beside `target`.
std::string TemporaryPrefix(const std::filesystem::path& target);

}  // namespace platform
