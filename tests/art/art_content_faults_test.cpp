// A whole content folder with one fault at a time: each maker refuses it
// with the file and line, and writes nothing it should not.
#include "tools/art/art.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

struct scratch {
  art_paths p{"content", "out_res", "out_game"};
  palette pal;
  scratch() {
    fs::remove_all("content"), fs::remove_all("out_res"), fs::remove_all("out_game");
    fs::create_directories("content/art/music"), fs::create_directories("out_res"),
        fs::create_directories("out_game");
    pal.colours["wood"] = {150, 100, 60};
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream("content/" + name) << text;
  }
};

} // namespace

TEST(ArtContentFaults, FiguresMustExistForEverySheetEntryAndKnowTheirKind) {
  scratch s;
  s.write("sprites.txt", "0 party the hero\n8 cat a cat\n");
  s.write("art/figures.txt", "figure party kind=human top=wood\nfigure cat kind=dragonfly\n");
  EXPECT_EQ(make_characters(s.p, s.pal),
            "content/art/figures.txt:2: unknown figure kind dragonfly");
  s.write("art/figures.txt", "figure party kind=human top=wood\n");
  EXPECT_EQ(make_characters(s.p, s.pal),
            "content/art/figures.txt: no figure cat (content/sprites.txt:2: named here)");
  s.write("sprites.txt", "3 party the hero\n");
  EXPECT_EQ(make_characters(s.p, s.pal),
            "content/sprites.txt:1: expected: FIRST-PICTURE (a multiple of 8) NAME description");
  s.write("sprites.txt", "0 party the hero\n");
  EXPECT_EQ(make_characters(s.p, s.pal), "");
  EXPECT_TRUE(fs::exists("out_res/PLC.bmp"));
}

TEST(ArtContentFaults, HitPicturesNeedAllThirtyFourEntriesOnce) {
  scratch s;
  std::string all;
  for (int n = 0; n < 34; n++) all += std::to_string(n) + " fire wood wood 1\n";
  s.write("art/effects.txt", all + "5 fire wood wood 1\n");
  EXPECT_EQ(make_hit_effects(s.p, s.pal), "content/art/effects.txt:35: entry 5 is given twice");
  s.write("art/effects.txt", "0 zap wood wood 1\n");
  EXPECT_EQ(make_hit_effects(s.p, s.pal), "content/art/effects.txt:1: unknown effect kind zap");
  s.write("art/effects.txt", "0 fire wood wood 1\n");
  EXPECT_EQ(make_hit_effects(s.p, s.pal), "content/art/effects.txt: no effect for entry 1");
  s.write("art/effects.txt", all);
  EXPECT_EQ(make_hit_effects(s.p, s.pal), "");
  EXPECT_TRUE(fs::exists("out_game/ms_g033b.bmp"));
}

TEST(ArtContentFaults, TheMusicListIsTwentyFourNumberedPiecesWithShortNames) {
  scratch s;
  s.write("art/music/a.mml", "tempo 100\ntrack a\nc1\n");
  std::string list;
  for (int n = 0; n < 24; n++)
    list += std::to_string(n) + " p" + std::to_string(n) + ".mid a.mml use\n";
  s.write("art/music/list.txt", "1 p.mid a.mml\n");
  EXPECT_EQ(
      make_music(s.p),
      "content/art/music/list.txt:1: expected: NUMBER (0..23 in order) FILE.mid SOURCE.mml use...");
  s.write("art/music/list.txt", "0 " + std::string(40, 'x') + ".mid a.mml\n");
  EXPECT_EQ(
      make_music(s.p),
      "content/art/music/list.txt:1: a MIDI file name of at most 39 characters ending in .mid");
  s.write("art/music/list.txt", "0 p.mid missing.mml\n");
  EXPECT_EQ(make_music(s.p),
            "content/art/music/list.txt:1: content/art/music/missing.mml: cannot be opened");
  s.write("art/music/list.txt", "0 p.mid a.mml\n");
  EXPECT_EQ(make_music(s.p), "content/art/music/list.txt: the music list has 24 entries, not 1");
  EXPECT_FALSE(fs::exists("out_game/rpgmidlst.lst")) << "no list is written for a short one";
  s.write("art/music/list.txt", list);
  EXPECT_EQ(make_music(s.p), "");
  std::ifstream in("out_game/rpgmidlst.lst");
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "p0.mid");
}
