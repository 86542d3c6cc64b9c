#include "exchange/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

// POSIX calls: the standard library can neither flush a file to the disk nor
// promise an atomic replace. A Windows build uses _commit and MoveFileEx with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH in their place.

namespace kvx::exchange {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void fail(const fs::path &file, const std::string &reason) {
  throw FileError("Écriture impossible du fichier « " + file.string() + " » : " + reason);
}

std::string reasonOf(int error) {
  return std::generic_category().message(error);
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

TemporaryFile createTemporary(const fs::path &target, mode_t mode) {
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Hidden and beside the target, so the rename stays within one file system.
    const fs::path candidate =
        folder / ("." + target.filename().string() + ".tmp" + std::to_string(attempt));
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

}  // namespace

void writeFileAtomically(const fs::path &requested, std::string_view bytes) {
  fs::path target = requested;
  struct stat info {};
  if (::lstat(target.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    std::error_code ec;
    target = fs::weakly_canonical(target, ec);
    if (ec) fail(requested, reasonOf(ec.value()));
  }

  mode_t mode = 0666;
  if (::stat(target.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) fail(requested, "c'est un dossier");
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
      fail(requested, "le fichier est en lecture seule");
    mode = info.st_mode & 07777;
  } else if (errno != ENOENT) {
    fail(requested, reasonOf(errno));
  }

  TemporaryFile temporary = createTemporary(target, mode);
  // The new file gets the umask; give it the old file's permissions exactly.
  if (mode != 0666) ::fchmod(temporary.fd(), mode);
  writeAll(temporary, bytes, requested);
  if (::fsync(temporary.fd()) != 0) fail(requested, reasonOf(errno));
  if (temporary.close() != 0) fail(requested, reasonOf(errno));
  if (::rename(temporary.path().c_str(), target.c_str()) != 0) fail(requested, reasonOf(errno));
  temporary.release();
  syncFolder(target.parent_path());
}

std::string readWholeFile(const fs::path &file, std::size_t maxBytes) {
  const auto failRead = [&](const std::string &reason) -> std::string {
    throw FileError("Lecture impossible du fichier « " + file.string() + " » : " + reason);
  };
  std::ifstream in(file, std::ios::binary);
  if (!in) return failRead(reasonOf(errno ? errno : ENOENT));
  std::string bytes;
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    const auto n = static_cast<std::size_t>(in.gcount());
    if (bytes.size() + n > maxBytes) return failRead("fichier trop grand");
    bytes.append(buffer, n);
  }
  if (in.bad()) return failRead("erreur de lecture");
  return bytes;
}

}  // namespace kvx::exchange
