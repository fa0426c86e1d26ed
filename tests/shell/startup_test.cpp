// Start-up on the default game, and its failure when a picture is missing:
// in a scratch folder that holds the default game but for one file.
#include "gfx/title_screens.h"
#include "tests/shell/shell_fixture.h"

#include "audio/music.h"
#include "gfx/surfaces.h"
#include "state/state.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

const char* game_dir() {
  const char* d = std::getenv("ZK_GAME_DIR");
  return d && fs::exists(fs::path(d) / "rpg.ini") ? d : nullptr;
}

// A folder with every file of the default game linked in, except `missing`.
fs::path game_without(const std::string& missing) {
  fs::path dir = fs::current_path() / ("without_" + missing);
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto& e : fs::directory_iterator(game_dir()))
    if (e.path().filename() != missing) fs::create_symlink(e.path(), dir / e.path().filename());
  return dir;
}

bool any_surface_left() {
  if (surface_exists(gfx.back_surface) || surface_exists(gfx.plc_surface)) return true;
  for (const surface& s : gfx.monster_surface)
    if (surface_exists(s)) return true;
  return surface_exists(gfx.map_surface[0]) || surface_exists(gfx.pmap_surface);
}

struct Startup : ::testing::Test {
  fs::path home = fs::current_path();
  void SetUp() override {
    if (!game_dir()) GTEST_SKIP() << "the default game is not built";
    headless_reset();
    reset_game();
  }
  void TearDown() override {
    fs::current_path(home);
    reset_game();
    headless_reset();
  }
};

} // namespace

TEST_F(Startup, OpensOnTheTitleWithTheWorldMapAndTheFirstSizeCommandQueued) {
  fs::current_path(game_dir());
  // the program's own start: nothing has filled the built-in tables yet
  std::memset(game.item_table, 0, sizeof game.item_table);
  std::memset(game.magic_table, 0, sizeof game.magic_table);
  ASSERT_EQ(startup(), 0);
  EXPECT_EQ(std::memcmp(game.item_table, builtin_items.data(), sizeof game.item_table), 0);
  EXPECT_EQ(std::memcmp(game.magic_table, builtin_magic, sizeof game.magic_table), 0);
  EXPECT_EQ(title_screens.title_mode, 1);
  EXPECT_EQ(shell.app_active, 0) << "active only once the system says so";
  EXPECT_EQ(game.cur_map, WORLD_MAP);
  EXPECT_EQ(game.cur_area, area_at(WORLD_MAP, game.pos_x, game.pos_y));
  EXPECT_EQ(headless.presents, 1) << "a dark picture at once";
  EXPECT_TRUE(gfx.back_surface.keyed && gfx.plc_surface.keyed && gfx.map_surface[1].keyed);
  EXPECT_TRUE(gfx.monster_surface[33].keyed && gfx.monster_surface_b[33].keyed);
  EXPECT_FALSE(gfx.pmap_surface.keyed);
  EXPECT_EQ(gfx.bg_surface[2].w, 320);
  EXPECT_EQ(gfx.under_party_surface.w, 16);
  int code = -1;
  plat_msg m;
  ASSERT_TRUE(plat_peek_message(&m));
  EXPECT_EQ(m.kind, MSG_COMMAND);
  EXPECT_EQ(m.wparam, CMD_SIZE_1X1);
  headless.client_w = 768;
  window_proc(m);
  EXPECT_EQ(headless.client_w, 256);
  EXPECT_EQ(loop_pass(&code), 0);
}

// A missing picture stops start-up with its message and leaves nothing; a
// folder or a FIFO in its place is as good as missing, and the FIFO must not
// hold start-up up.
TEST_F(Startup, EachMissingPictureNamesItself) {
  enum { MISSING, FOLDER, FIFO };
  const struct {
    const char* file;
    int kind;
    const char* line;
  } cases[] = {
      {"ms_g017.bmp", MISSING, "box: [Zandrek] MONSTERLoadBitmap FAILED"},
      {"YADOYA.bmp", MISSING, "box: [Zandrek] YADOYALoadBitmap FAILED"},
      {"ms_g005b.bmp", MISSING, "box: [Zandrek] MONSTERLoadBitmap2 FAILED"},
      {"YADOYA.bmp", FIFO, "box: [Zandrek] YADOYALoadBitmap FAILED"},
      {"ms_g005b.bmp", FOLDER, "box: [Zandrek] MONSTERLoadBitmap2 FAILED"},
  };
  for (const auto& c : cases) {
    headless_reset();
    reset_game();
    fs::path dir = game_without(c.file);
    int made = c.kind == FOLDER ? mkdir((dir / c.file).c_str(), 0755)
               : c.kind == FIFO ? mkfifo((dir / c.file).c_str(), 0644)
                                : 0;
    ASSERT_EQ(made, 0) << c.file;
    fs::current_path(dir);
    EXPECT_NE(startup(), 0) << c.file;
    EXPECT_TRUE(log_has(c.line)) << c.file;
    EXPECT_FALSE(any_surface_left()) << c.file;
    fs::current_path(home);
  }
}
