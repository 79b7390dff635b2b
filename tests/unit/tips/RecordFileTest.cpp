#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "text/GbkText.h"
#include "tips/RecordFile.h"
#include "tips/TipRecords.h"

namespace qarnis::tips {
namespace {

using qarnis::testing::ReadFile;
using qarnis::testing::TempFolder;
using qarnis::testing::WriteFile;

std::string Lines(int first, int last) {
  std::string out;
  for (int i = first; i >= last; --i) out += "record " + std::to_string(i) + "\r\n";
  return out;
}

std::size_t EntriesIn(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

TEST(RecordFile, MissingFileReadsEmptyAndAPushHoldsExactlyTheTextAndCrLf) {
  TempFolder folder;
  const RecordFile file(folder.File("LTLiShiJiLu.txt"));
  EXPECT_EQ(file.Read(), "");
  const std::string pushed = text::Utf8ToGbk("英超，05-01，甲，1:0，乙");
  ASSERT_TRUE(file.Prepend(pushed));
  EXPECT_EQ(ReadFile(file.Path()), pushed + "\r\n");
}

TEST(RecordFile, PushGoesInFrontOfTheWholePreviousContent) {
  struct Case {
    const char* name;
    std::string before;
    std::string pushed;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"one record", "old\r\n", "new", "new\r\nold\r\n"},
      {"several lines pushed at once", "old\r\n", "n1\r\nn2", "n1\r\nn2\r\nold\r\n"},
      {"empty push still adds a line", "old\r\n", "", "\r\nold\r\n"},
      {"previous content without final CR LF is kept as is", "old", "new", "new\r\nold"},
      {"bytes are not converted", std::string("\xFF\x80\r\n"), std::string("\xD3\xAE"),
       std::string("\xD3\xAE\r\n\xFF\x80\r\n")},
  };
  for (const Case& c : cases) {
    TempFolder folder;
    const RecordFile file(folder.File("f.txt"));
    WriteFile(file.Path(), c.before);
    ASSERT_TRUE(file.Prepend(c.pushed)) << c.name;
    EXPECT_EQ(ReadFile(file.Path()), c.after) << c.name;
    EXPECT_EQ(EntriesIn(folder.Path()), 1u) << c.name << ": no temporary file left behind";
  }
}

TEST(RecordFile, ReplaceWritesExactlyTheGivenText) {
  TempFolder folder;
  const RecordFile file(folder.File("f.txt"));
  WriteFile(file.Path(), Lines(200, 1));
  ASSERT_TRUE(file.Replace("a\r\nb"));
  EXPECT_EQ(file.Read(), "a\r\nb");
  ASSERT_TRUE(file.Replace(""));
  EXPECT_EQ(file.Read(), "");
}

TEST(RecordFile, HundredTwentyRecordsAndOnePushGiveHundredTwentyOneNewestFirst) {
  TempFolder folder;
  const RecordFile file(folder.File("f.txt"));
  WriteFile(file.Path(), Lines(120, 1));
  ASSERT_TRUE(file.Prepend("record 121"));
  const std::string content = file.Read();
  EXPECT_EQ(content, Lines(121, 1));
  const std::vector<std::string> lines = text::Split(content, kLineBreak);
  ASSERT_EQ(lines.size(), 121u);
  EXPECT_EQ(lines.front(), "record 121");
  EXPECT_EQ(lines[1], "record 120");
  EXPECT_EQ(FirstLines(content, 50), Lines(121, 72));
}

TEST(RecordFile, FirstLinesTakesTheNewestAndEndsEachWithCrLf) {
  struct Case {
    std::string content;
    std::size_t limit;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {Lines(45, 1), 30, Lines(45, 16)},
      {Lines(7, 1), 50, Lines(7, 1)},
      {Lines(7, 1), 0, Lines(7, 1)},
      {"a\r\nb", 30, "a\r\nb\r\n"},
      {"", 30, ""},
      {"\r\na\r\n", 30, "\r\na\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(FirstLines(c.content, c.limit), c.expected) << c.content;
}

// Writes beyond this size fail with EFBIG, so a rewrite fails after part of the file was written.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

TEST(RecordFile, FailedRewriteLeavesThePreviousFileByteForByte) {
  TempFolder folder;
  const RecordFile file(folder.File("LTLiShiGongGao.txt"));
  const std::string before = Lines(50, 1) + std::string("\xD3\xAE\xB0\xEB");
  WriteFile(file.Path(), before);
  const std::string big(64 * 1024, 'x');
  {
    FileSizeLimit limit(4096);
    EXPECT_FALSE(file.Prepend(big));
    EXPECT_FALSE(file.Replace(big));
  }
  EXPECT_EQ(ReadFile(file.Path()), before);
  EXPECT_EQ(EntriesIn(folder.Path()), 1u) << "the half-written temporary file is removed";
}

TEST(RecordFile, FolderThatRefusesTheTemporaryFileLeavesTheFileAlone) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempFolder folder;
  const RecordFile file(folder.File("f.txt"));
  WriteFile(file.Path(), "old\r\n");
  ::chmod(folder.Path().c_str(), S_IRUSR | S_IXUSR);
  EXPECT_FALSE(file.Prepend("new"));
  EXPECT_FALSE(file.Replace("new"));
  ::chmod(folder.Path().c_str(), S_IRWXU);
  EXPECT_EQ(ReadFile(file.Path()), "old\r\n");
}

TEST(RecordFile, UnreadableFileIsNotReplacedByThePushAlone) {
  // A path that exists but cannot be read as a file must not count as a missing, empty file.
  TempFolder folder;
  const RecordFile file(folder.File("f.txt"));
  std::filesystem::create_directory(file.Path());
  WriteFile(file.Path() + "/inside", "old\r\n");
  EXPECT_FALSE(file.Prepend("new"));
  EXPECT_EQ(ReadFile(file.Path() + "/inside"), "old\r\n");
  EXPECT_TRUE(std::filesystem::is_directory(file.Path()));
}

}  // namespace
}  // namespace qarnis::tips
