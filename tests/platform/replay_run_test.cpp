// zandrek-replay as a program: the default game through a short script.
// Skips until the replay program and the default game have been built.
#include "platform/platform.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string read_all(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// Runs the replay on a script; its exit status, with standard error in *err.
int replay(const std::string& script, std::string* err, const char* game_dir) {
  std::ofstream("script.txt") << script;
  std::string cmd = std::string(ZK_REPLAY_PROGRAM) + " -C " + game_dir + " script.txt 2>stderr.txt";
  int status = std::system(cmd.c_str());
  *err = read_all("stderr.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ReplayRun : ::testing::Test {
  const char* game_dir = std::getenv("ZK_GAME_DIR");
  void SetUp() override {
    if (!std::filesystem::exists(ZK_REPLAY_PROGRAM)) GTEST_SKIP() << "zandrek-replay is not built";
    if (!game_dir || !std::filesystem::exists(std::string(game_dir) + "/rpg.ini"))
      GTEST_SKIP() << "the default game is not built";
  }
};

} // namespace

TEST_F(ReplayRun, WritesThePictureTheDumpAndTheSameResultTwice) {
  std::string err;
  std::filesystem::remove("a.png");
  // no activate: the window is active once shown, as the real one is
  ASSERT_EQ(replay("tick 10\nshot a.png\ndump a.json\n", &err, game_dir), 0) << err;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&img, "a.png"));
  EXPECT_EQ(img.width, 256u);
  EXPECT_EQ(img.height, 256u);
  png_image_free(&img);
  std::string first = read_all("a.json");
  EXPECT_NE(first.find("\"title_mode\": 1"), std::string::npos);
  EXPECT_NE(first.find("\"app_active\": 1"), std::string::npos);
  EXPECT_NE(first.find("\"frame_period_ms\": 18"), std::string::npos);
  EXPECT_NE(first.find("\"log\": ["), std::string::npos);
  std::string picture = read_all("a.png");
  ASSERT_EQ(replay("tick 10\nshot a.png\ndump a.json\n", &err, game_dir), 0) << err;
  EXPECT_EQ(read_all("a.json"), first);
  EXPECT_EQ(read_all("a.png"), picture);
}

TEST_F(ReplayRun, AScriptErrorNamesItsLineAndRunsNothing) {
  std::string err;
  std::filesystem::remove("never.png");
  EXPECT_EQ(replay("shot never.png\n# fine\nkey NOSUCHKEY\n", &err, game_dir), 2);
  EXPECT_NE(err.find("script.txt: line 3: unknown key \"NOSUCHKEY\""), std::string::npos) << err;
  EXPECT_FALSE(std::filesystem::exists("never.png"));
  EXPECT_EQ(replay("shot no/such/folder/x.png\n", &err, game_dir), 1);
  EXPECT_NE(err.find("line 1"), std::string::npos) << err;
}

TEST_F(ReplayRun, MenuCommandsChangeTheSpeedAndEscapeEndsTheGame) {
  std::string err;
  ASSERT_EQ(replay("menu 40011\nmenu 40011\ndump s.json\nmenu 40001\ndump t.json\nmenu 40012\n"
                   "activate 0\ndump u.json\n",
                   &err, game_dir),
            0)
      << err;
  EXPECT_NE(read_all("s.json").find("\"frame_period_ms\": 22"), std::string::npos);
  EXPECT_NE(read_all("t.json").find("\"frame_period_ms\": 2147483647"), std::string::npos);
  EXPECT_NE(read_all("u.json").find("\"frame_period_ms\": 20"), std::string::npos);
  EXPECT_NE(read_all("u.json").find("\"app_active\": 0"), std::string::npos);
}

// A scene read from the dumps alone: the system menu's save question on the
// field of a new game, its answer NO and a cancel. The message lines, the
// window flags and the cursors must be what the player sees at each dump.
TEST_F(ReplayRun, DumpsShowTheMessageLinesAndTheWindowsOfAScene) {
  std::string err;
  const char* script = "activate 1\ntick 20\nkey D\ntick 600\nkey D\ntick 100\ndump field.json\n"
                       "key Q\nkey D\nkey DOWN\nkey D\ntick 10\ndump ask.json\n"
                       "key DOWN\nkey D\nkey C\ntick 10\ndump cancel.json\n";
  ASSERT_EQ(replay(script, &err, game_dir), 0) << err;
  struct {
    const char* dump;
    std::vector<std::string> shows;
  } scenes[] = {
      {"field.json",
       {"\"title_mode\": 0", "\"msg_visible\": 0", "\"system_win\": 0", "\"cmd_menu\": 0"}},
      {"ask.json",
       {"\"system_win\": 1", "\"sys_state\": 3", "\"save_cursor\": 1", "\"yes_no\": 0",
        "\"msg_visible\": 1", "\"msg_revealed\": 1",
        "\"messages\": [\n    \"" + sjis_to_utf8("セーブします。よろしいですか？") + "\"\n  ]"}},
      {"cancel.json",
       {"\"system_win\": 1", "\"sys_state\": 0", "\"save_cursor\": 1", "\"yes_no\": 1",
        "\"messages\": [\n    \"" + sjis_to_utf8("キャンセルします") + "\"\n  ]"}},
  };
  for (const auto& s : scenes) {
    std::string dump = read_all(s.dump);
    for (const std::string& want : s.shows)
      EXPECT_NE(dump.find(want), std::string::npos) << s.dump << " lacks " << want;
  }
}
