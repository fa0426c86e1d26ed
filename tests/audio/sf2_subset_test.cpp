// The soundfont cut on a font small enough to read by eye: which presets,
// zones and samples it keeps, where their points land, and that malformed
// fonts and MIDI files are refused with a reason instead of read past.
#include "audio_files.h"
#include "tools/soundfont/sf2_subset.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr int POINTS = 10, GUARD = 46;

void name(bytes& b, const char* n) {
  char field[20] = {};
  std::strncpy(field, n, sizeof field - 1);
  b.insert(b.end(), field, field + 20);
}
void gen(bytes& b, int op, int amount) {
  put_le(b, op, 2);
  put_le(b, amount, 2);
}
void bag(bytes& b, int g) {
  put_le(b, g, 2);
  put_le(b, 0, 2);
}

// Two presets, bank 0 programs 0 and 1. Program 1's instrument splits the
// keyboard at middle C between samples 1 (below) and 2 (from it up).
bytes tiny_font() {
  bytes phdr, pbag, pgen, inst, ibag, igen, shdr, smpl;
  for (int p = 0; p < 3; p++) {
    name(phdr, p < 2 ? "preset" : "EOP");
    put_le(phdr, p < 2 ? p : 0, 2); // program
    put_le(phdr, 0, 2);             // bank
    put_le(phdr, p, 2);             // first zone
    put_le(phdr, 0, 12);
    bag(pbag, p);
  }
  gen(pgen, 41, 0), gen(pgen, 41, 1), gen(pgen, 0, 0);
  const int inst_bag[3] = {0, 1, 3};
  for (int i = 0; i < 3; i++) name(inst, i < 2 ? "inst" : "EOI"), put_le(inst, inst_bag[i], 2);
  for (int z = 0; z < 4; z++) bag(ibag, z == 0 ? 0 : 2 * z - 1);
  gen(igen, 53, 0);
  gen(igen, 43, 0 | 59 << 8), gen(igen, 53, 1);
  gen(igen, 43, 60 | 127 << 8), gen(igen, 53, 2);
  gen(igen, 0, 0);
  for (int s = 0; s < 4; s++) {
    int start = s * (POINTS + GUARD);
    name(shdr, s < 3 ? "sample" : "EOS");
    put_le(shdr, s < 3 ? start : 0, 4);
    put_le(shdr, s < 3 ? start + POINTS : 0, 4);
    put_le(shdr, s < 3 ? start + 2 : 0, 4);
    put_le(shdr, s < 3 ? start + 8 : 0, 4);
    put_le(shdr, 44100, 4);
    put_le(shdr, 60, 2); // original key, correction
    put_le(shdr, 0, 2);  // link
    put_le(shdr, s < 3 ? 1 : 0, 2);
  }
  for (int s = 0; s < 3; s++)
    for (int i = 0; i < POINTS + GUARD; i++) put_le(smpl, i < POINTS ? 1000 * (s + 1) + i : 0, 2);
  bytes info, sdta, pdta;
  put(info, "INFO"), chunk(info, "ifil", {2, 0, 1, 0});
  put(sdta, "sdta"), chunk(sdta, "smpl", smpl);
  put(pdta, "pdta");
  const std::pair<const char*, bytes*> lists[] = {
      {"phdr", &phdr}, {"pbag", &pbag},   {"pmod", nullptr}, {"pgen", &pgen}, {"inst", &inst},
      {"ibag", &ibag}, {"imod", nullptr}, {"igen", &igen},   {"shdr", &shdr}};
  for (auto [id, body] : lists) chunk(pdta, id, body ? *body : bytes(10, 0));
  bytes form;
  put(form, "sfbk"), chunk(form, "LIST", info), chunk(form, "LIST", sdta),
      chunk(form, "LIST", pdta);
  bytes f;
  chunk(f, "RIFF", form);
  return f;
}

// The body of the first chunk named id (a search: ids do not occur in the points here).
bytes body_of(const bytes& f, const char* id) {
  for (std::size_t i = 0; i + 8 <= f.size(); i++)
    if (std::memcmp(&f[i], id, 4) == 0) {
      std::uint32_t n = f[i + 4] | f[i + 5] << 8 | f[i + 6] << 16 | f[i + 7] << 24;
      return bytes(f.begin() + i + 8, f.begin() + i + 8 + n);
    }
  return {};
}
int u16_at(const bytes& b, std::size_t at) {
  return b[at] | b[at + 1] << 8;
}

bytes one_note(int program, int key) {
  bytes t;
  ev(t, 0, {0xC0, program});
  ev(t, 0, {0x90, key, 100});
  ev(t, 96, {0x80, key, 0});
  end_ev(t, 0);
  return smf({t});
}

TEST(Sf2Subset, KeepsOnlyThePresetZoneAndSampleANoteSounds) {
  midi_use use;
  std::string why;
  ASSERT_TRUE(midi_use_of(one_note(1, 64), &use, &why)) << why;
  bytes cut;
  ASSERT_TRUE(sf2_subset(tiny_font(), use, &cut, &why)) << why;
  EXPECT_EQ(body_of(cut, "phdr").size(), 2u * 38); // program 1 and the closing record
  EXPECT_EQ(u16_at(body_of(cut, "phdr"), 20), 1);
  EXPECT_EQ(body_of(cut, "ibag").size(), 2u * 4); // the upper zone alone
  bytes igen = body_of(cut, "igen");
  ASSERT_EQ(igen.size(), 3u * 4);
  EXPECT_EQ(u16_at(igen, 2), 60 | 127 << 8);
  EXPECT_EQ(u16_at(igen, 6), 0); // sample 2, now the first
  bytes shdr = body_of(cut, "shdr"), smpl = body_of(cut, "smpl");
  ASSERT_EQ(shdr.size(), 2u * 46);
  EXPECT_EQ(u16_at(shdr, 20), 0);      // start
  EXPECT_EQ(u16_at(shdr, 24), POINTS); // end
  EXPECT_EQ(u16_at(shdr, 28), 2);      // loop start, moved with the points
  ASSERT_EQ(smpl.size(), 2u * (POINTS + GUARD));
  EXPECT_EQ(u16_at(smpl, 0), 3000);
  EXPECT_EQ(u16_at(smpl, 2 * (POINTS - 1)), 3000 + POINTS - 1);
}

TEST(Sf2Subset, MalformedInputIsRefusedWithAReason) {
  bytes font = tiny_font();
  auto broken = [&](std::size_t at, std::uint8_t v) {
    bytes b = font;
    b[at] = v;
    return b;
  };
  std::size_t phdr = 0;
  while (std::memcmp(&font[phdr], "phdr", 4) != 0) phdr++;
  const bytes fonts[] = {
      bytes(font.begin(), font.begin() + 6), // torn header
      broken(8, 'X'),                        // not a soundfont
      broken(7, 0x7F),                       // RIFF size past the end
      broken(phdr + 4, 37),                  // a list of torn records
      broken(phdr + 8 + 38 + 24, 9),         // a zone index past its list
  };
  midi_use use;
  use.notes[{0, 1}] = {{64, 100}};
  for (const bytes& f : fonts) {
    bytes out;
    std::string why;
    EXPECT_FALSE(sf2_subset(f, use, &out, &why));
    EXPECT_FALSE(why.empty());
  }
  bytes good = one_note(1, 64);
  std::size_t track = 14 + 8; // the first event of the track
  const bytes midis[] = {
      bytes(good.begin(), good.begin() + 10), // torn header
      bytes(good.begin(), good.end() - 3),    // track past the end
      [&] {
        bytes b = good;
        b[track + 1] = 0x40;
        return b;
      }(), // running status with none
  };
  for (const bytes& m : midis) {
    midi_use u;
    std::string why;
    EXPECT_FALSE(midi_use_of(m, &u, &why));
    EXPECT_FALSE(why.empty());
  }
}

} // namespace
