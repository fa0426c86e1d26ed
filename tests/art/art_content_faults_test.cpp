// A whole content folder with one fault at a time: each maker refuses it
// with the file and line, and writes its output only once the fault is gone.
#include "tools/art/art.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(ArtContentFaults, EachMakerNamesTheFaultAndWritesOnlyWhenThereIsNone) {
  const art_paths p{"content", "out_res", "out_game"};
  palette pal;
  pal.colours["wood"] = {150, 100, 60};
  for (const char* d : {"content", "out_res", "out_game"}) fs::remove_all(d);
  for (const char* d : {"content/art/music", "out_res", "out_game"}) fs::create_directories(d);
  std::ofstream("content/sprites.txt") << "0 party the hero\n8 cat a cat\n";
  std::ofstream("content/art/music/a.mml") << "tempo 100\ntrack a\nc1\n";
  std::string effects, list;
  for (int n = 0; n < 34; n++) effects += std::to_string(n) + " fire wood wood 1\n";
  for (int n = 0; n < 24; n++)
    list += std::to_string(n) + " p" + std::to_string(n) + ".mid a.mml use\n";
  enum { FIGURES, EFFECTS, MUSIC };
  // Each step writes one file and runs one maker, which writes `out` (when
  // given) only if the step passes; hit pictures are written as they are read.
  const struct {
    const char* file;
    std::string text;
    int maker;
    std::string fault;
    const char* out;
  } steps[] = {
      {"art/figures.txt", "figure party kind=human top=wood\nfigure cat kind=dragonfly\n", FIGURES,
       "content/art/figures.txt:2: unknown figure kind dragonfly", "out_res/PLC.bmp"},
      {"art/figures.txt", "figure party kind=human top=wood\n", FIGURES,
       "content/art/figures.txt: no figure cat (content/sprites.txt:2: named here)",
       "out_res/PLC.bmp"},
      {"sprites.txt", "3 party the hero\n", FIGURES,
       "content/sprites.txt:1: expected: FIRST-PICTURE (a multiple of 8) NAME description",
       "out_res/PLC.bmp"},
      {"sprites.txt", "0 party the hero\n", FIGURES, "", "out_res/PLC.bmp"},
      {"art/effects.txt", effects + "5 fire wood wood 1\n", EFFECTS,
       "content/art/effects.txt:35: entry 5 is given twice", nullptr},
      {"art/effects.txt", "0 zap wood wood 1\n", EFFECTS,
       "content/art/effects.txt:1: unknown effect kind zap", nullptr},
      {"art/effects.txt", "0 fire wood wood 1\n", EFFECTS,
       "content/art/effects.txt: no effect for entry 1", nullptr},
      {"art/effects.txt", effects, EFFECTS, "", "out_game/ms_g033b.bmp"},
      {"art/music/list.txt", "1 p.mid a.mml\n", MUSIC,
       "content/art/music/list.txt:1: expected: NUMBER (0..23 in order) FILE.mid SOURCE.mml use...",
       "out_game/rpgmidlst.lst"},
      {"art/music/list.txt", "0 " + std::string(40, 'x') + ".mid a.mml\n", MUSIC,
       "content/art/music/list.txt:1: a MIDI file name of at most 39 characters ending in .mid",
       "out_game/rpgmidlst.lst"},
      {"art/music/list.txt", "0 p.mid missing.mml\n", MUSIC,
       "content/art/music/list.txt:1: content/art/music/missing.mml: cannot be opened",
       "out_game/rpgmidlst.lst"},
      {"art/music/list.txt", "0 p.mid a.mml\n", MUSIC,
       "content/art/music/list.txt: the music list has 24 entries, not 1",
       "out_game/rpgmidlst.lst"},
      {"art/music/list.txt", list, MUSIC, "", "out_game/rpgmidlst.lst"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.text);
    if (s.out) fs::remove(s.out);
    std::ofstream(std::string("content/") + s.file) << s.text;
    std::string fault = s.maker == FIGURES   ? make_characters(p, pal)
                        : s.maker == EFFECTS ? make_hit_effects(p, pal)
                                             : make_music(p);
    EXPECT_EQ(fault, s.fault);
    EXPECT_TRUE(!s.out || fs::exists(s.out) == s.fault.empty()) << s.out;
  }
  std::ifstream in("out_game/rpgmidlst.lst");
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "p0.mid");
}
