// zandrek-replay as a program: the default game through a short script.
// Skips until the replay program and the default game have been built.
#include "platform/platform.h"
#include "tests/common/test_files.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Runs the replay on a script; its exit status, with standard error in *err.
int replay(const std::string& script, std::string* err, const std::string& game_dir,
           const std::string& options = "") {
  std::ofstream("script.txt") << script;
  std::string cmd = std::string(ZK_REPLAY_PROGRAM) + " -C " + game_dir + " " + options +
                    " script.txt 2>stderr.txt";
  int status = std::system(cmd.c_str());
  *err = read_text("stderr.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct ReplayRun : ::testing::Test {
  const char* game_dir = std::getenv("ZK_GAME_DIR");
  std::string err;
  void SetUp() override {
    if (!fs::exists(ZK_REPLAY_PROGRAM)) GTEST_SKIP() << "zandrek-replay is not built";
    if (!game_dir || !fs::exists(std::string(game_dir) + "/rpg.ini"))
      GTEST_SKIP() << "the default game is not built";
  }
};

} // namespace

// The title's picture and dump; then a scene read from the dumps alone: the
// system menu's save question on the field of a new game, its answer NO and a
// cancel, where the message lines, the window flags and the cursors must be
// what the player sees; then the menu's speed commands. Twice the same.
TEST_F(ReplayRun, WritesThePictureAndDumpsOfAScriptTheSameTwice) {
  const char* script = "tick 10\nshot a.png\ndump a.json\n" // no activate: active once shown
                       "activate 1\ntick 20\nkey D\ntick 600\nkey D\ntick 100\ndump field.json\n"
                       "key Q\nkey D\nkey DOWN\nkey D\ntick 10\ndump ask.json\n"
                       "key DOWN\nkey D\nkey C\ntick 10\ndump cancel.json\n"
                       "menu 40011\nmenu 40011\ndump s.json\nmenu 40001\ndump t.json\nmenu 40012\n"
                       "activate 0\ndump u.json\n";
  fs::remove("a.png");
  ASSERT_EQ(replay(script, &err, game_dir), 0) << err;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&img, "a.png"));
  EXPECT_EQ(img.width, 256u);
  EXPECT_EQ(img.height, 256u);
  png_image_free(&img);
  const struct {
    const char* dump;
    std::vector<std::string> shows;
  } dumps[] = {
      {"a.json",
       {"\"title_mode\": 1", "\"app_active\": 1", "\"frame_period_ms\": 18", "\"log\": ["}},
      {"field.json",
       {"\"title_mode\": 0", "\"msg_visible\": 0", "\"system_win\": 0", "\"cmd_menu\": 0"}},
      {"ask.json",
       {"\"system_win\": 1", "\"sys_state\": 3", "\"save_cursor\": 1", "\"yes_no\": 0",
        "\"msg_visible\": 1", "\"msg_revealed\": 1",
        "\"messages\": [\n    \"" + sjis_to_utf8("セーブします。よろしいですか？") + "\"\n  ]"}},
      {"cancel.json",
       {"\"system_win\": 1", "\"sys_state\": 0", "\"save_cursor\": 1", "\"yes_no\": 1",
        "\"messages\": [\n    \"" + sjis_to_utf8("キャンセルします") + "\"\n  ]"}},
      {"s.json", {"\"frame_period_ms\": 22"}},
      {"t.json", {"\"frame_period_ms\": 2147483647"}},
      {"u.json", {"\"frame_period_ms\": 20", "\"app_active\": 0"}},
  };
  std::vector<std::string> first{read_text("a.png")};
  for (const auto& d : dumps) {
    first.push_back(read_text(d.dump));
    for (const std::string& want : d.shows)
      EXPECT_NE(first.back().find(want), std::string::npos) << d.dump << " lacks " << want;
  }
  ASSERT_EQ(replay(script, &err, game_dir), 0) << err;
  EXPECT_EQ(read_text("a.png"), first[0]);
  for (std::size_t i = 0; i < std::size(dumps); i++)
    EXPECT_EQ(read_text(dumps[i].dump), first[i + 1]) << dumps[i].dump;
}

TEST_F(ReplayRun, AScriptErrorNamesItsLineAndRunsNothing) {
  fs::remove("never.png");
  EXPECT_EQ(replay("shot never.png\n# fine\nkey NOSUCHKEY\n", &err, game_dir), 2);
  EXPECT_NE(err.find("script.txt: line 3: unknown key \"NOSUCHKEY\""), std::string::npos) << err;
  EXPECT_FALSE(fs::exists("never.png"));
  EXPECT_EQ(replay("shot no/such/folder/x.png\n", &err, game_dir), 1);
  EXPECT_NE(err.find("line 1"), std::string::npos) << err;
}

// A start-up that fails for a missing picture still ends with 0, its box in
// the dump; and --audio writes what a player hears.
TEST_F(ReplayRun, AFailedStartUpEndsWithZeroAndTheSoundIsWritten) {
  fs::path broken = fs::current_path() / "without_a_monster";
  fs::remove_all(broken);
  fs::create_directories(broken);
  for (const auto& e : fs::directory_iterator(game_dir))
    if (e.path().filename() != "ms_g017.bmp")
      fs::create_symlink(e.path(), broken / e.path().filename());
  ASSERT_EQ(replay("tick 3\ndump fail.json\n", &err, broken.string()), 0) << err;
  EXPECT_NE(read_text("fail.json").find("box: [Zandrek] MONSTERLoadBitmap FAILED"),
            std::string::npos);
  fs::remove("heard.wav");
  ASSERT_EQ(replay("activate 1\ntick 30\nkey P\ntick 30\n", &err, game_dir, "--audio heard.wav"), 0)
      << err;
  EXPECT_EQ(read_text("heard.wav").substr(0, 4), "RIFF");
  EXPECT_GT(fs::file_size("heard.wav"), 44u * 100u) << "more than a header: 60 ticks of sound";
}
