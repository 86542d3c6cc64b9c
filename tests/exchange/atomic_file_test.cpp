#include "exchange/atomic_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "exchange/ini_document.h"

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
  fs::path m_folder;
};

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
