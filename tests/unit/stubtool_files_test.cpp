// The file side of stubtool: reading and replacing program files, and spotting a signature.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "stubtool/file_io.h"
#include "stubtool/pe_signature.h"

namespace {

namespace fs = std::filesystem;
using stubtool::HasAuthenticodeSignature;

void Put(std::vector<unsigned char>& image, size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    image[at + i] = static_cast<unsigned char>(value >> (8 * i));
  }
}

struct PeHeader {
  std::uint16_t magic = 0x10B;
  std::uint32_t directoryCount = 5;
  std::uint32_t securityAddress = 0x4000;
  std::uint32_t securitySize = 0x900;
  int optionalHeaderShortfall = 0;  // bytes taken off SizeOfOptionalHeader

  // A DOS header, the PE signature, the file header and an optional header whose last data
  // directory is the security directory: nothing follows it.
  std::vector<unsigned char> Build() const {
    const size_t peAt = 0x80;
    const size_t directoriesAt = magic == 0x10B ? 96 : 112;
    const size_t optionalSize = directoriesAt + 8 * directoryCount;
    std::vector<unsigned char> image(peAt + 24 + optionalSize);
    Put(image, 0, 0x5A4D, 2);
    Put(image, 0x3C, peAt, 4);
    Put(image, peAt, 0x4550, 4);
    Put(image, peAt + 4 + 16, optionalSize - optionalHeaderShortfall, 2);
    const size_t optionalAt = peAt + 24;
    Put(image, optionalAt, magic, 2);
    Put(image, optionalAt + directoriesAt - 4, directoryCount, 4);
    if (directoryCount > 4) {
      Put(image, optionalAt + directoriesAt + 32, securityAddress, 4);
      Put(image, optionalAt + directoriesAt + 36, securitySize, 4);
    }
    return image;
  }
};

TEST(PeSignatureTest, SecurityDirectoryDecides) {
  EXPECT_TRUE(HasAuthenticodeSignature(PeHeader{}.Build()));
  EXPECT_TRUE(HasAuthenticodeSignature(PeHeader{.magic = 0x20B}.Build()));
  EXPECT_TRUE(HasAuthenticodeSignature(PeHeader{.securityAddress = 0}.Build()));
  EXPECT_TRUE(HasAuthenticodeSignature(PeHeader{.directoryCount = 16}.Build()));
  EXPECT_FALSE(HasAuthenticodeSignature(PeHeader{.securityAddress = 0, .securitySize = 0}.Build()));
  EXPECT_FALSE(HasAuthenticodeSignature(
      PeHeader{.magic = 0x20B, .securityAddress = 0, .securitySize = 0}.Build()));
}

TEST(PeSignatureTest, MalformedHeadersAreNotSigned) {
  EXPECT_FALSE(HasAuthenticodeSignature({}));
  EXPECT_FALSE(HasAuthenticodeSignature(PeHeader{.magic = 0x107}.Build()));
  EXPECT_FALSE(HasAuthenticodeSignature(PeHeader{.directoryCount = 4}.Build()));
  EXPECT_FALSE(HasAuthenticodeSignature(PeHeader{.optionalHeaderShortfall = 1}.Build()));

  std::vector<unsigned char> image = PeHeader{}.Build();
  image[1] = 'X';
  EXPECT_FALSE(HasAuthenticodeSignature(image));
  image = PeHeader{}.Build();
  image[0x80 + 2] = 'X';
  EXPECT_FALSE(HasAuthenticodeSignature(image));
  for (std::uint32_t peOffset : {0xFFFFFFFFu, 0xFFFFFFFCu, 0x7FFFFFFFu}) {
    image = PeHeader{}.Build();
    Put(image, 0x3C, peOffset, 4);
    EXPECT_FALSE(HasAuthenticodeSignature(image)) << peOffset;
  }
  image = PeHeader{}.Build();
  Put(image, 0x80 + 20, 0xFFFF, 2);  // SizeOfOptionalHeader far past the file
  EXPECT_TRUE(HasAuthenticodeSignature(image));
}

TEST(PeSignatureTest, EveryCutOffHeaderIsReadSafely) {
  for (std::uint16_t magic : {0x10B, 0x20B}) {
    const std::vector<unsigned char> image = PeHeader{.magic = magic}.Build();
    for (size_t length = 0; length < image.size(); ++length) {
      // A copy of exactly this length, so that a read past it is a read out of bounds.
      const std::vector<unsigned char> cut(image.begin(), image.begin() + length);
      EXPECT_FALSE(HasAuthenticodeSignature(cut)) << "length " << length;
    }
  }
}

class ReplaceFileTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(testing::TempDir()) /
              ("stubtool_files_" +
               std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::vector<fs::path> Listing() const {
    std::vector<fs::path> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static void Write(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }

  fs::path folder_;
};

TEST_F(ReplaceFileTest, WritesANewFileAndLeavesNothingElse) {
  const std::vector<unsigned char> bytes = {'M', 'Z', 0, 0xFF, '\n', 7};
  const fs::path model = folder_ / "model";
  Write(model, "x");
  fs::permissions(model, fs::perms::owner_read | fs::perms::owner_write | fs::perms::owner_exec |
                             fs::perms::group_read);
  std::string problem;
  ASSERT_TRUE(stubtool::ReplaceFile(folder_ / "out.exe", bytes, model, problem)) << problem;
  EXPECT_EQ(stubtool::ReadWholeFile(folder_ / "out.exe", problem), bytes);
  EXPECT_EQ(fs::status(folder_ / "out.exe").permissions(), fs::status(model).permissions());
  EXPECT_EQ(Listing(), (std::vector<fs::path>{"model", "out.exe"}));
}

TEST_F(ReplaceFileTest, ReplacesAnExistingFileWhole) {
  const fs::path out = folder_ / "out.exe";
  Write(out, std::string(100000, 'o'));
  const std::vector<unsigned char> bytes(300000, 'n');
  std::string problem;
  ASSERT_TRUE(stubtool::ReplaceFile(out, bytes, out, problem)) << problem;
  EXPECT_EQ(stubtool::ReadWholeFile(out, problem), bytes);
  EXPECT_EQ(Listing(), (std::vector<fs::path>{"out.exe"}));
}

TEST_F(ReplaceFileTest, FailureLeavesNoFileBehind) {
  std::string problem;
  const fs::path missingFolder = folder_ / "missing" / "out.exe";
  EXPECT_FALSE(stubtool::ReplaceFile(missingFolder, {}, folder_, problem));
  EXPECT_NE(problem.find(missingFolder.string()), std::string::npos) << problem;

  // The temporary file is written, but cannot be renamed over a folder that holds a file.
  const fs::path folderInTheWay = folder_ / "out.exe";
  fs::create_directories(folderInTheWay / "inside");
  problem.clear();
  EXPECT_FALSE(
      stubtool::ReplaceFile(folderInTheWay, std::vector<unsigned char>(10, 'x'), folder_, problem));
  EXPECT_NE(problem.find("cannot replace"), std::string::npos) << problem;
  EXPECT_EQ(Listing(), (std::vector<fs::path>{"out.exe"}));
}

TEST_F(ReplaceFileTest, ReadWholeFileReportsWhatItCannotRead) {
  std::string problem;
  EXPECT_EQ(stubtool::ReadWholeFile(folder_ / "absent", problem), std::nullopt);
  EXPECT_NE(problem.find("absent"), std::string::npos);
  problem.clear();
  EXPECT_EQ(stubtool::ReadWholeFile(folder_, problem), std::nullopt);
  EXPECT_NE(problem, "");
  Write(folder_ / "empty", "");
  EXPECT_EQ(stubtool::ReadWholeFile(folder_ / "empty", problem), std::vector<unsigned char>{});
}

}  // namespace
