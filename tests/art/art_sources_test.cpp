// Faults in the readable art sources are refused with their file and line,
// and the notation's timing is what a reader of the score expects.
#include "tools/art/art_draw.h"
#include "tools/art/art_mml.h"
#include "tools/art/art_sound.h"

#include <gtest/gtest.h>

namespace {

std::vector<src_line> lines_of(const std::string& text, const char* file) {
  std::vector<src_line> l;
  split_source(file, text, l);
  return l;
}

palette test_palette() {
  palette p;
  read_palette(lines_of("grass 80 160 60\nink0 0 0 0\n", "pal.txt"), p);
  return p;
}

std::string draw(const std::string& text, picture_set& out) {
  return draw_pictures(lines_of(text, "t.art"), test_palette(), 16, 16, out);
}

enum source_kind { PALETTE, DRAWING, SCORE, SOUNDS };

// What the reader of that kind of source says of the text, on a fresh result.
std::string fault_of(source_kind kind, const std::string& text, mml_piece& piece) {
  palette p;
  picture_set pictures;
  std::vector<sound_def> sounds;
  switch (kind) {
  case PALETTE:
    return read_palette(lines_of(text, "pal.txt"), p);
  case DRAWING:
    return draw(text, pictures);
  case SCORE:
    return parse_piece(lines_of(text, "p.mml"), piece);
  case SOUNDS:
    return read_sounds(lines_of(text, "s.txt"), sounds);
  }
  return "?";
}

std::string fault_of(source_kind kind, const std::string& text) {
  mml_piece p;
  return fault_of(kind, text, p);
}

} // namespace

TEST(ArtSources, EveryFaultNamesItsFileAndLine) {
  const std::string deep = "phrase a c1 c1 c1 c1 c1 c1 c1 c1\nphrase b $a $a $a $a $a $a $a $a\n"
                           "phrase c $b $b $b $b $b $b $b $b\nphrase d $c $c $c $c $c $c $c $c\n"
                           "phrase e $d $d $d $d $d $d $d $d\nphrase f $e $e $e $e $e $e $e $e\n"
                           "phrase g $f $f $f $f $f $f $f $f\ntrack a\n$g\n";
  const struct {
    source_kind kind;
    std::string text, fault;
  } cases[] = {
      {PALETTE, "a 1 2 3\n\nb 1 2\n", "pal.txt:3: expected: NAME RED GREEN BLUE (0..255)"},
      {PALETTE, "a 1 2 3\na 4 5 6\n", "pal.txt:2: colour a is named twice"},
      {PALETTE, "a 1 2 300\n", "pal.txt:1: expected: NAME RED GREEN BLUE (0..255)"},
      {DRAWING, "picture a\nrect 0 0 4 4 grass\nrect 0 0 4 4 sky\n", "t.art:3: unknown colour sky"},
      {DRAWING, "# only a comment\nrect 0 0 4 4 grass\n",
       "t.art:2: drawing before the first picture line"},
      {DRAWING, "picture a\nsquiggle 1 2\n", "t.art:2: unknown drawing word squiggle"},
      {DRAWING, "picture a\npoly grass 1 2 3 4\n",
       "t.art:2: poly: a colour and at least three X Y corners"},
      {DRAWING, "picture a\ntexture plaid grass grass grass\n", "t.art:2: unknown texture plaid"},
      {DRAWING, "picture a\nend\n", "t.art:2: end outside a layer"},
      {DRAWING, "picture a\npicture a\n", "t.art:2: picture a is drawn twice"},
      {DRAWING, "picture a\nfrom b\n", "t.art:2: no picture b drawn before"},
      {DRAWING, "picture a\nrect 0 0 x 4 grass\n", "t.art:2: bad number x"},
      {DRAWING, "picture a\noval 8 8 4 4 grass+200\n", "t.art:2: bad shade in grass+200"},
      {SCORE, "track a\nc1\ntrack b\nc2\n",
       "p.mml:3: track b lasts 960 ticks, track a 1920: every track must end on the same tick"},
      {SCORE, "track a\nc4\nc4 j4\n", "p.mml:3: unknown note or command j"},
      {SCORE, "track a\nc4 [d4\n", "p.mml:2: a [ without its ]"},
      {SCORE, "tempo 9\ntrack a\nc4\n", "p.mml:1: tempo 30..300"},
      {SCORE, "track a channel=16\nc4\n", "p.mml:1: bad track option channel=16"},
      {SCORE, "track d channel=9\nk4 s4 q4\n", "p.mml:2: unknown note or command q"},
      {SCORE, "track a\nc4 $none\n", "p.mml:2: no phrase named none"},
      {SCORE, "phrase a c4 $a\ntrack a\n$a\n", "p.mml:1: phrases nested too deep at a"},
      {SCORE, "phrase a\ntrack a\nc4\n", "p.mml:1: expected: phrase NAME notes..."},
      {SCORE, "track a\nk30 c4\n", "p.mml:2: value out of range after k"},
      {SCORE, deep, "p.mml:2: the track grows too long at a"},
      {SOUNDS, "sound BEEP\n", "s.txt:1: no sound effect is named BEEP"},
      {SOUNDS, "voice sine 1 1 0 1 1\n", "s.txt:1: a voice before the first sound line"},
      {SOUNDS, "sound ATK\nvoice sine 440 440 0 0 1\n",
       "s.txt:2: a voice lasts longer than 0 seconds"},
      {SOUNDS, "sound ATK\nvoice buzz 440 440 0 1 1\n",
       "s.txt:2: expected: voice square|sine|triangle|saw|noise FROM-HZ TO-HZ START DURATION "
       "VOLUME"},
  };
  for (const auto& c : cases) EXPECT_EQ(fault_of(c.kind, c.text), c.fault) << c.text;
}

TEST(ArtSources, LayersGetAnInkOutlineAndTexturesRepeatEverySixteenPixels) {
  // pure black would vanish as the see-through colour
  EXPECT_EQ(test_palette().colours.at("ink0"), INK);
  picture_set out;
  ASSERT_EQ(draw("picture a\nlayer\nrect 4 4 4 4 grass\nend\n", out), "");
  const image& a = out.at("a");
  EXPECT_EQ(get_px(a, 3, 5), INK);
  EXPECT_EQ(get_px(a, 5, 5), test_palette().colours.at("grass"));
  EXPECT_EQ(get_px(a, 2, 5), CLEAR);
  EXPECT_EQ(get_px(a, 3, 3), CLEAR) << "outlines follow the sides, not the corners";
  ASSERT_EQ(draw("picture b 32 32\ntexture rock grass grass+30 grass-30 seed=4\n", out), "");
  const image& b = out.at("b");
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) ASSERT_EQ(get_px(b, x, y), get_px(b, x + 16, y + 16));
}

TEST(ArtSources, ScoresAreTimedTrackByTrackAndPhrasesPlayWhereTheyAreNamed) {
  mml_piece p;
  ASSERT_EQ(fault_of(SCORE,
                     "tempo 120\ntrack a channel=0\nl8 c d e f g a b > c\ntrack b "
                     "channel=1\nc1\n",
                     p),
            "");
  ASSERT_EQ(p.tracks.size(), 2u);
  EXPECT_EQ(p.tracks[0].length, 1920u);
  EXPECT_EQ(p.tracks[1].length, 1920u);
  // dotted, triplet, held and repeated lengths
  mml_piece q;
  ASSERT_EQ(fault_of(SCORE, "track a\nc4. c8 l12 c c c c4 ^4 [c8 r8]2 {ceg}2\n", q), "");
  EXPECT_EQ(q.tracks[0].length, 720u + 240 + 480 + 480 + 480 + 960 + 960);
  // the first note is middle C with its note-off before the next note-on
  EXPECT_EQ(q.tracks[0].events[0].bytes[1], 60);
  mml_piece r;
  ASSERT_EQ(fault_of(SCORE, "phrase up c4 $step\ntrack a\n$up k-3 [$up]2 k0\nphrase step d4\n", r),
            "");
  std::vector<int> ons;
  for (const auto& e : r.tracks[0].events)
    if ((e.bytes[0] & 0xF0) == 0x90) ons.push_back(e.bytes[1]);
  EXPECT_EQ(ons, (std::vector<int>{60, 62, 57, 59, 57, 59})) << "key shifts move phrases";
  EXPECT_EQ(r.tracks[0].length, 6u * 480);
}

TEST(ArtSources, MidiFilesEndEveryTrackOnTheLastTickOfThePiece) {
  mml_piece p;
  ASSERT_EQ(fault_of(SCORE, "title t\ntempo 100\ntrack a\nc2 r2\ntrack b channel=1\nr1\n", p), "");
  auto b = midi_bytes(p);
  ASSERT_GT(b.size(), 14u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "MThd");
  EXPECT_EQ(b[11], 3) << "a tempo track and the two parts";
  EXPECT_EQ(b[12] << 8 | b[13], MML_DIVISION);
}

TEST(ArtSources, TheMixOfASoundNeverClips) {
  std::vector<sound_def> h;
  ASSERT_EQ(read_sounds(lines_of("sound ATK\nvoice square 440 440 0 0.1 1\nvoice square 440 440 "
                                 "0 0.1 1\n",
                                 "s.txt"),
                        h),
            "");
  auto samples = render_sound(h[0]);
  EXPECT_EQ(samples.size(), 2206u);
  int peak = 0;
  for (auto s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_LE(peak, SOUND_PEAK * 32767 + 1) << "two full voices are scaled down, not clipped";
  EXPECT_GT(peak, SOUND_PEAK * 32767 - 300);
}
