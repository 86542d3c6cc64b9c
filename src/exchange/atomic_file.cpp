// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <random>
#include <system_error>

#include "exchange/raison_systeme.h"

// POSIX calls: the standard library can neither flush a file to the disk nor
// promise an atomic replace. A Windows build uses _commit and MoveFileEx with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH in their place.

namespace kvx::exchange {

namespace {

namespace fs = std::filesystem;

// A save writes a few kilobytes in milliseconds: a temporary file untouched
// for a minute belongs to a save that was killed half-way (a second SIGTERM,
// a power cut), not to one still running in another window.
constexpr std::time_t kStaleTemporarySeconds = 60;
// Names are random, so a collision is already rare once; this many in a row
// means the folder does not behave as a file system should.
constexpr int kTemporaryNameAttempts = 1000;
constexpr char kNotARegularFile[] = "ce n'est pas un fichier ordinaire";

[[noreturn]] void fail(const fs::path &file, const std::string &reason) {
  throw FileError("Écriture impossible du fichier « " + file.string() + " » : " + reason);
}

[[noreturn]] void failRead(const fs::path &file, const std::string &reason) {
  throw FileError("Lecture impossible du fichier « " + file.string() + " » : " + reason);
}

std::string reasonOf(int error) {
  return RaisonSysteme(error);
}

// Closes the descriptor and removes the temporary file unless released.
class TemporaryFile {
 public:
  TemporaryFile(int fd, fs::path path) : m_fd(fd), m_path(std::move(path)) {}
  TemporaryFile(const TemporaryFile &) = delete;
  TemporaryFile &operator=(const TemporaryFile &) = delete;
  ~TemporaryFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_path.empty()) ::unlink(m_path.c_str());
  }
  int fd() const { return m_fd; }
  const fs::path &path() const { return m_path; }
  int close() {
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
  }
  void release() { m_path.clear(); }

 private:
  int m_fd;
  fs::path m_path;
};

// Closes a descriptor opened for reading.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  ~Descriptor() { ::close(m_fd); }
  int fd() const { return m_fd; }

 private:
  int m_fd;
};

fs::path folderOf(const fs::path &target) {
  return target.parent_path().empty() ? fs::path(".") : target.parent_path();
}

// Hidden and beside the target, so the rename stays within one file system.
// The part after it is letters and digits only.
std::string temporaryPrefix(const fs::path &target) {
  return "." + target.filename().string() + ".tmp";
}

bool isTemporaryOf(const std::string &name, const std::string &prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  }
  return true;
}

std::string randomSuffix(int attempt) {
  std::uint64_t number =
      (static_cast<std::uint64_t>(::getpid()) << 32) ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      (static_cast<std::uint64_t>(attempt) * 0x9E3779B97F4A7C15u);
  try {
    std::random_device device;
    number ^= (static_cast<std::uint64_t>(device()) << 32) | device();
  } catch (const std::exception &) {
    // No random source on this system: the process and the clock still make
    // the name unlikely to meet another, and O_EXCL catches the rest.
  }
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::string suffix;
  do {
    suffix += kDigits[number % 36];
    number /= 36;
  } while (number != 0);
  return suffix;
}

// Removes what saves of this target killed half-way left behind. Only names of
// our own pattern, only regular files, only old ones: a recent one may be the
// file another window's save is writing now. Failures are ignored, as the
// cleaning is a courtesy and must not stop the save the user asked for.
void removeStaleTemporaries(const fs::path &target) {
  const std::string prefix = temporaryPrefix(target);
  const std::time_t now = std::time(nullptr);
  std::error_code ec;
  for (fs::directory_iterator entry(folderOf(target), ec), end; !ec && entry != end;
       entry.increment(ec)) {
    const fs::path &path = entry->path();
    if (!isTemporaryOf(path.filename().string(), prefix)) continue;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now - info.st_mtime > kStaleTemporarySeconds) ::unlink(path.c_str());
  }
}

TemporaryFile createTemporary(const fs::path &target, mode_t mode) {
  const fs::path folder = folderOf(target);
  const std::string prefix = temporaryPrefix(target);
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    const fs::path candidate = folder / (prefix + randomSuffix(attempt));
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) return TemporaryFile(fd, candidate);
    if (errno != EEXIST) fail(target, reasonOf(errno));
  }
  fail(target, "trop de fichiers temporaires");
}

void writeAll(const TemporaryFile &file, std::string_view bytes, const fs::path &target) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.fd(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) fail(target, reasonOf(n < 0 ? errno : ENOSPC));
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// Makes the rename itself durable. Its failure is not reported: the new
// content is already in place and complete, only its survival of a power cut
// in the next seconds is less certain.
void syncFolder(const fs::path &folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

struct SaveTarget {
  fs::path path;  // the file the rename replaces, links followed
  mode_t mode;    // the permissions the new file gets
};

SaveTarget saveTargetOf(const fs::path &requested) {
  SaveTarget target{requested, 0666};
  struct stat info {};
  if (::lstat(target.path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    std::error_code ec;
    target.path = fs::weakly_canonical(target.path, ec);
    if (ec) fail(requested, reasonOf(ec.value()));
  }
  if (::stat(target.path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) fail(requested, "c'est un dossier");
    // A device, a pipe or a socket would be replaced by a plain file: as
    // root, a link to /dev/null would take /dev/null away from the system.
    if (!S_ISREG(info.st_mode)) fail(requested, kNotARegularFile);
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
      fail(requested, "le fichier est en lecture seule");
    target.mode = info.st_mode & 07777;
  } else if (errno != ENOENT) {
    fail(requested, reasonOf(errno));
  }
  return target;
}

}  // namespace

void checkSaveTarget(const fs::path &target) {
  saveTargetOf(target);
}

void writeFileAtomically(const fs::path &requested, std::string_view bytes) {
  const SaveTarget target = saveTargetOf(requested);
  removeStaleTemporaries(target.path);
  TemporaryFile temporary = createTemporary(target.path, target.mode);
  // The new file gets the umask; give it the old file's permissions exactly.
  if (target.mode != 0666) ::fchmod(temporary.fd(), target.mode);
  writeAll(temporary, bytes, requested);
  if (::fsync(temporary.fd()) != 0) fail(requested, reasonOf(errno));
  if (temporary.close() != 0) fail(requested, reasonOf(errno));
  if (::rename(temporary.path().c_str(), target.path.c_str()) != 0)
    fail(requested, reasonOf(errno));
  temporary.release();
  syncFolder(target.path.parent_path());
}

std::string readWholeFile(const fs::path &file, std::size_t maxBytes) {
  // Looked at before opening: opening a serial device moves its modem lines,
  // and opening a named pipe waits for a writer.
  struct stat info {};
  if (::stat(file.c_str(), &info) != 0) failRead(file, reasonOf(errno));
  if (S_ISDIR(info.st_mode)) failRead(file, "c'est un dossier");
  if (!S_ISREG(info.st_mode)) failRead(file, kNotARegularFile);
  // Non-blocking and checked again once open, in case the name was given to
  // a pipe in between. A regular file reads the same either way.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) failRead(file, reasonOf(errno));
  const Descriptor in(fd);
  if (::fstat(fd, &info) != 0) failRead(file, reasonOf(errno));
  if (!S_ISREG(info.st_mode)) failRead(file, kNotARegularFile);
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) failRead(file, "fichier trop grand");
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failRead(file, "erreur de lecture");
    if (n == 0) return bytes;
    // Checked while reading too: a file can grow, and some report no size.
    if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) failRead(file, "fichier trop grand");
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace kvx::exchange
