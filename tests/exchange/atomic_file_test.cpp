// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "exchange/ini_document.h"
#include "tube_sans_ecrivain.h"

namespace kvx::exchange {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public testing::Test {
 protected:
  void SetUp() override {
    m_folder =
        fs::temp_directory_path() / ("kvx-atomic-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(m_folder);
    fs::create_directories(m_folder);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(m_folder / "essai.KVX", fs::perms::owner_all, ec);
    fs::remove_all(m_folder, ec);
  }
  static std::string content(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void put(const fs::path &file, const std::string &bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  // Only the files the test made itself: no temporary left behind.
  std::size_t fileCount() const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()));
  }
  // Gives the file a last change `age` in the past.
  static void makeOlder(const fs::path &file, std::chrono::seconds age) {
    struct timespec times[2] = {};
    times[0].tv_sec = times[1].tv_sec = ::time(nullptr) - age.count();
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0) << file;
  }
  // The kind of node at this name, the link itself not followed.
  static mode_t kindOf(const fs::path &file) {
    struct stat info {};
    if (::lstat(file.c_str(), &info) != 0) return 0;
    return info.st_mode & S_IFMT;
  }
  fs::path m_folder;
};

using test::finishesWithoutAWriter;

TEST_F(AtomicFile, WritesANewFileAndReplacesAnOldOne) {
  const fs::path file = m_folder / "essai.KVX";
  writeFileAtomically(file, "[A]\r\n");
  EXPECT_EQ(content(file), "[A]\r\n");
  writeFileAtomically(file, std::string("x\0y", 3));
  EXPECT_EQ(content(file), std::string("x\0y", 3));
  EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicFile, KeepsThePermissionsOfTheOldFile) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, "old");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  writeFileAtomically(file, "new");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(AtomicFile, ReplacesTheFileBehindASymbolicLink) {
  const fs::path real = m_folder / "real.KVX";
  const fs::path link = m_folder / "link.KVX";
  put(real, "old");
  fs::create_symlink(real, link);
  writeFileAtomically(link, "new");
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(content(real), "new");
}

TEST_F(AtomicFile, FailuresLeaveTheTargetUntouchedAndAreReported) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, "old");
  fs::permissions(file, fs::perms::owner_read);
  EXPECT_THROW(writeFileAtomically(file, "new"), FileError);
  EXPECT_EQ(content(file), "old");
  EXPECT_THROW(writeFileAtomically(m_folder / "absent" / "x.KVX", "new"), FileError);
  fs::create_directory(m_folder / "dossier.KVX");
  EXPECT_THROW(writeFileAtomically(m_folder / "dossier.KVX", "new"), FileError);
  EXPECT_EQ(fileCount(), 2u);
}

TEST_F(AtomicFile, AStaleTemporaryFileDoesNotBlockSaving) {
  const fs::path file = m_folder / "essai.KVX";
  put(m_folder / ".essai.KVX.tmp0", "left by a crash");
  writeFileAtomically(file, "new");
  EXPECT_EQ(content(file), "new");
  EXPECT_EQ(content(m_folder / ".essai.KVX.tmp0"), "left by a crash");
}

TEST_F(AtomicFile, LeftoversOfInterruptedSavesNeverBlockSavingAndOldOnesAreCleared) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, "old");
  struct Leftover {
    std::string name;
    std::chrono::seconds age;
    bool kept;
  };
  std::vector<Leftover> leftovers = {
      // A save in another window may be writing these right now.
      {".essai.KVX.tmpk3x9q2", std::chrono::seconds(0), true},
      {".essai.KVX.tmpr7", std::chrono::seconds(30), true},
      // Names of another file, or not of the temporary pattern: not ours.
      {".autre.KVX.tmp0", std::chrono::hours(24), true},
      {"essai.KVX.tmp0", std::chrono::hours(24), true},
      {".essai.KVX.tmp", std::chrono::hours(24), true},
      {".essai.KVX.tmp0.bak", std::chrono::hours(24), true},
      {".essai.KVX.tmp0~", std::chrono::hours(24), true},
      {".essai.KVX.tmpa3", std::chrono::hours(24), false},
  };
  // Far more than a fixed set of names could hold, old and recent.
  for (int i = 0; i < 150; ++i)
    leftovers.push_back({".essai.KVX.tmp" + std::to_string(i),
                         i < 100 ? std::chrono::seconds(120) : std::chrono::seconds(0), i >= 100});
  for (const Leftover &leftover : leftovers) {
    put(m_folder / leftover.name, "left by a save that was killed");
    makeOlder(m_folder / leftover.name, leftover.age);
  }
  ASSERT_NO_THROW(writeFileAtomically(file, "new"));
  EXPECT_EQ(content(file), "new");
  std::size_t kept = 1;
  for (const Leftover &leftover : leftovers) {
    EXPECT_EQ(fs::exists(m_folder / leftover.name), leftover.kept) << leftover.name;
    kept += leftover.kept;
  }
  EXPECT_EQ(fileCount(), kept);
}

TEST_F(AtomicFile, ASaveKilledHalfWayLeavesATemporaryFileTheNextSaveClears) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, "old");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The file size limit kills the process in the middle of writing, as a
    // second SIGTERM or a power cut would.
    const struct rlimit noCore = {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const struct rlimit small = {10, 10};
    ::setrlimit(RLIMIT_FSIZE, &small);
    ::signal(SIGXFSZ, SIG_DFL);
    try {
      writeFileAtomically(file, std::string(100000, 'x'));
    } catch (...) {
      // Never back into the test runner from the child, whatever happens.
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_EQ(fileCount(), 2u) << "the killed save leaves its temporary file";
  EXPECT_EQ(content(file), "old");
  for (const auto &entry : fs::directory_iterator(m_folder))
    if (entry.path() != file) makeOlder(entry.path(), std::chrono::minutes(5));
  writeFileAtomically(file, "new");
  EXPECT_EQ(content(file), "new");
  EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicFile, AFailedSaveRemovesItsTemporaryFile) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, "old");
  struct rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const auto previous = ::signal(SIGXFSZ, SIG_IGN);
  const struct rlimit small = {10, before.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string message;
  try {
    writeFileAtomically(file, std::string(100, 'x'));
  } catch (const FileError &error) {
    message = error.what();
  }
  ::setrlimit(RLIMIT_FSIZE, &before);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(message.rfind("Écriture impossible du fichier « " + file.string() + " » : ", 0), 0u)
      << message;
  EXPECT_EQ(content(file), "old");
  EXPECT_EQ(fileCount(), 1u);
}

// What a save or a read can meet at a file's name besides a file.
struct SpecialNode {
  const char *name;
  const char *what;                           // the reason the message gives
  std::function<int(const fs::path &)> make;  // 0, or why it cannot be made here
};

int errorOf(bool made) {
  return made ? 0 : errno;
}

// Whether a node could not be made for a reason of this machine, not of the
// code: a device needs root, a socket a short path.
bool cannotBeMadeHere(int error) {
  return error == EPERM || error == ENAMETOOLONG;
}

std::vector<SpecialNode> specialNodes(const fs::path &folder) {
  const auto pipe = [](const fs::path &at) { return errorOf(::mkfifo(at.c_str(), 0666) == 0); };
  // A node of our own with the numbers of /dev/null: the real one must never
  // be at stake in a test, least of all one run as root.
  const auto device = [](const fs::path &at) {
    return errorOf(::mknod(at.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0);
  };
  const auto socket = [](const fs::path &at) {
    struct sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (at.string().size() >= sizeof address.sun_path) return ENAMETOOLONG;
    std::strcpy(address.sun_path, at.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const int error =
        errorOf(fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    if (fd >= 0) ::close(fd);
    return error;
  };
  const auto folderAt = [](const fs::path &at) { return errorOf(fs::create_directory(at)); };
  const auto linkTo = [folder](const char *name, std::function<int(const fs::path &)> make) {
    return [folder, name, make](const fs::path &at) {
      std::error_code ec;
      fs::create_symlink(folder / name, at, ec);
      return ec ? ec.value() : make(folder / name);
    };
  };
  const char *notAFile = "ce n'est pas un fichier ordinaire";
  return {
      {"tube.KVX", notAFile, pipe},
      {"peripherique.KVX", notAFile, device},
      {"prise.KVX", notAFile, socket},
      {"lien-tube.KVX", notAFile, linkTo("cible-tube", pipe)},
      {"lien-peripherique.KVX", notAFile, linkTo("cible-peripherique", device)},
      {"dossier.KVX", "c'est un dossier", folderAt},
      {"lien-dossier.KVX", "c'est un dossier", linkTo("cible-dossier", folderAt)},
  };
}

TEST_F(AtomicFile, SavesOnlyOverRegularFilesAndLeavesAnythingElseAsItIs) {
  for (const SpecialNode &node : specialNodes(m_folder)) {
    SCOPED_TRACE(node.name);
    const fs::path at = m_folder / node.name;
    if (const int error = node.make(at)) {
      if (!cannotBeMadeHere(error)) ADD_FAILURE() << "cannot make " << at << ": " << error;
      continue;
    }
    const mode_t kind = kindOf(at);
    const mode_t targetKind = kindOf(fs::canonical(at));
    const std::size_t count = fileCount();
    std::string message;
    const bool finished = finishesWithoutAWriter(at, [&] {
      try {
        writeFileAtomically(at, "[Synchro]\r\n");
      } catch (const FileError &error) {
        message = error.what();
      }
    });
    EXPECT_TRUE(finished);
    EXPECT_EQ(message, "Écriture impossible du fichier « " + at.string() + " » : " + node.what);
    EXPECT_EQ(kindOf(at), kind);
    EXPECT_EQ(kindOf(fs::canonical(at)), targetKind);
    EXPECT_EQ(fileCount(), count);
  }
}

TEST_F(AtomicFile, ReadsOnlyRegularFilesAndNeverWaitsOnAPipe) {
  for (const SpecialNode &node : specialNodes(m_folder)) {
    SCOPED_TRACE(node.name);
    const fs::path at = m_folder / node.name;
    if (const int error = node.make(at)) {
      if (!cannotBeMadeHere(error)) ADD_FAILURE() << "cannot make " << at << ": " << error;
      continue;
    }
    std::string message;
    const bool finished = finishesWithoutAWriter(at, [&] {
      try {
        readWholeFile(at, 1000);
      } catch (const FileError &error) {
        message = error.what();
      }
    });
    EXPECT_TRUE(finished) << "the reading waited for a writer";
    EXPECT_EQ(message, "Lecture impossible du fichier « " + at.string() + " » : " + node.what);
  }
  std::string message;
  try {
    readWholeFile("/dev/null", 1000);
  } catch (const FileError &error) {
    message = error.what();
  }
  EXPECT_EQ(message,
            "Lecture impossible du fichier « /dev/null » : ce n'est pas un fichier ordinaire");
  put(m_folder / "vrai.KVX", "[Synchro]\r\n");
  fs::create_symlink(m_folder / "vrai.KVX", m_folder / "lien-vrai.KVX");
  EXPECT_EQ(readWholeFile(m_folder / "lien-vrai.KVX", 1000), "[Synchro]\r\n");
}

TEST_F(AtomicFile, ReadsWholeFilesWithinALimit) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, std::string(1000, 'a'));
  EXPECT_EQ(readWholeFile(file, 1000).size(), 1000u);
  EXPECT_THROW(readWholeFile(file, 999), FileError);
  EXPECT_THROW(readWholeFile(m_folder / "absent", 10), FileError);
}

TEST_F(AtomicFile, DocumentSavedOverAFileKeepsItsForeignContent) {
  const fs::path file = m_folder / "essai.KVX";
  put(file, "[Perso]\r\nA=1\r\n\r\n[V1]\r\nNom=V1\r\nExtra=x\r\n\r\n");
  auto doc = IniDocument::loadFile(file);
  ASSERT_TRUE(doc.has_value());
  doc->writeString("V1", "Nom", "U");
  doc->writeString("V2", "Nom", "V2");
  doc->saveFile(file);
  EXPECT_EQ(content(file),
            "[Perso]\r\nA=1\r\n\r\n[V1]\r\nNom=U\r\nExtra=x\r\n\r\n[V2]\r\nNom=V2\r\n\r\n");
  EXPECT_FALSE(IniDocument::loadFile(m_folder / "absent.KVX").has_value());
  EXPECT_THROW(IniDocument::loadFile(m_folder), FileError);
}

}  // namespace
}  // namespace kvx::exchange
