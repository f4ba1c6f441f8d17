#include "link_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace roomsim {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class LinkLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ =
        std::filesystem::temp_directory_path() /
        ("roomsim-link-log-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
    std::filesystem::remove(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  std::filesystem::path path_;
};

TEST_F(LinkLogTest, AppendsOneLinkPerLineExactlyAsReceived) {
  ASSERT_TRUE(AppendLinkLog(path_.string(), "aim:gochat?roomname=lobby&exchange=4"));
  ASSERT_TRUE(AppendLinkLog(path_.string(), "aim:gochat?roomname=a&b?c&exchange=room4"));
  ASSERT_TRUE(AppendLinkLog(path_.string(), ""));
  EXPECT_EQ(ReadAll(path_),
            "aim:gochat?roomname=lobby&exchange=4\n"
            "aim:gochat?roomname=a&b?c&exchange=room4\n"
            "\n");
}

TEST_F(LinkLogTest, KeepsWhatTheFileHeldBefore) {
  std::ofstream(path_, std::ios::binary) << "earlier\n";
  ASSERT_TRUE(AppendLinkLog(path_.string(), "later"));
  EXPECT_EQ(ReadAll(path_), "earlier\nlater\n");
}

TEST_F(LinkLogTest, ReportsAFileThatCannotBeWritten) {
  const auto folder = path_.string() + "-missing-folder";
  EXPECT_FALSE(AppendLinkLog(folder + "/inside/links.txt", "aim:gochat?roomname=x"));
}

}  // namespace
}  // namespace roomsim
