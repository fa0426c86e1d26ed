// The WAV reader and the effect bank on the headless sound device.
#include "audio/sound.h"
#include "audio_files.h"
#include "platform/audio_engine.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/sound.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bytes wave_of(std::initializer_list<std::pair<const char*, bytes>> chunks) {
  bytes c;
  for (const auto& [id, body] : chunks) chunk(c, id, body);
  return riff(c);
}

bytes patched(bytes b, std::size_t at, std::initializer_list<std::uint8_t> with) {
  std::copy(with.begin(), with.end(), b.begin() + at);
  return b;
}

TEST(ParseWave, TheFirstFormatAndDataAreFoundAndDamagedImagesFail) {
  const bytes fmt = fmt_chunk(1, 8000, 16), data = bytes(100, 1);
  const bytes good = wave_of({{"fmt ", fmt}, {"data", data}}), no_data = wave_of({{"fmt ", fmt}});
  const struct {
    const char* what;
    bytes image;
    int ok, channels;
    std::uint32_t rate;
    int bits;
    std::uint32_t data_at, size;
  } cases[] = {
      {"chunks in any order, odd sizes padded",
       wave_of({{"LIST", bytes(5, 1)},
                {"data", bytes(7, 1)},
                {"junk", bytes(3, 1)},
                {"fmt ", fmt_chunk(2, 11025, 8)}}),
       1, 2, 11025, 8, 12 + 8 + 6, 7},
      {"the first format and the first data count",
       wave_of({{"fmt ", fmt},
                {"data", bytes(4, 1)},
                {"fmt ", fmt_chunk(2, 44100, 8)},
                {"data", bytes(10, 1)}}),
       1, 1, 8000, 16, 12 + 8 + 16, 4},
      {"a format of 14 bytes, the block giving the bits",
       wave_of({{"fmt ", fmt_chunk(1, 8000, 16, 14)}, {"data", data}}), 1, 1, 8000, 0, 12 + 8 + 14,
       100},
      {"a format of 13 bytes", wave_of({{"fmt ", fmt_chunk(1, 8000, 16, 13)}, {"data", data}})},
      {"cut inside the data", bytes(good.begin(), good.end() - 10)},
      {"the first 11 bytes", bytes(good.begin(), good.begin() + 11)},
      {"not RIFF", patched(good, 0, {'X'})},
      {"not WAVE", patched(good, 8, {'A'})},
      {"a RIFF size short of the data", patched(good, 4, {30, 0, 0, 0})},
      {"no data chunk", no_data},
      {"a RIFF size far beyond the image", patched(no_data, 4, {0xFF, 0xFF, 0xFF})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    wave_info info;
    ASSERT_EQ(parse_wave(c.image.data(), c.image.size(), &info), c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(info.format.channels, c.channels);
    EXPECT_EQ(info.format.samples_per_sec, c.rate);
    EXPECT_EQ(info.format.bits_per_sample, c.bits);
    EXPECT_EQ(info.data, c.image.data() + c.data_at + 8);
    EXPECT_EQ(info.size, c.size);
  }
}

TEST(Resample, EightBitMonoBecomesStereoAtTheDeviceRate) {
  snd_format f;
  f.channels = 1;
  f.rate = 11025;
  f.bits = 8;
  std::uint8_t data[4] = {128, 255, 0, 128};
  std::vector<std::int16_t> out;
  ASSERT_TRUE(convert_wave(f, data, 4, &out));
  ASSERT_EQ(out.size(), 16u * 2);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(out[1], 0);
  EXPECT_EQ(out[4 * 2], 127 * 256); // second source sample, both channels
  EXPECT_EQ(out[4 * 2 + 1], 127 * 256);
  EXPECT_GT(out[2 * 2], 0); // halfway between 0 and the peak
  EXPECT_LT(out[2 * 2], 127 * 256);
  f.bits = 12;
  EXPECT_FALSE(convert_wave(f, data, 4, &out));
  f.bits = 8;
  f.format_tag = 2;
  EXPECT_FALSE(convert_wave(f, data, 4, &out));
}

struct Bank : ::testing::Test {
  void SetUp() override {
    headless_audio_reset();
    reset_sound_state();
    headless_reset();
  }
  void TearDown() override { reset_sound_state(); }
  void advance(std::uint32_t ms) {
    headless_advance(ms);
    headless_audio_pump();
  }
  // Opens the device and gives the object a square tone of `ms`.
  void load(sound_object* o, int ms, int buffers = 1) {
    ASSERT_EQ(snd_device_open(), 1);
    sound.device = true;
    wave = tone_wav(ms);
    wave_info w;
    ASSERT_EQ(parse_wave(wave.data(), wave.size(), &w), 1);
    ASSERT_EQ(sound_create_from(o, w, buffers), 1);
  }
  int lines(const std::string& l) {
    return static_cast<int>(std::count(headless.log.begin(), headless.log.end(), l));
  }
  bytes wave;
};

// Wall bumps do not restart the wall sound until it ends; menu clicks
// restart the menu sound at once.
TEST_F(Bank, AnEffectPlayedAgainRestartsOrNotByItsKind) {
  const struct {
    int effect;
    void (*play)();
    const char* line;
    bool restarts;
  } effects[] = {{SND_WALL, play_wallstop, "sound: WallStop", false},
                 {SND_MENU, play_menusound, "sound: menusound", true}};
  for (const auto& e : effects) {
    SCOPED_TRACE(e.line);
    load(&sound.objects[e.effect], 300);
    int b = sound.objects[e.effect].buffers[0];
    e.play();
    advance(100);
    std::uint32_t pos = snd_buffer_position(b);
    EXPECT_GT(pos, 22050u * 2 / 20); // more than 50 ms in
    e.play();
    e.play();
    EXPECT_TRUE(e.restarts ? snd_buffer_position(b) == 0 : snd_buffer_position(b) >= pos);
    EXPECT_EQ(lines(e.line), e.restarts ? 3 : 1);
    advance(300); // ended: the next play sounds again, from the start
    EXPECT_EQ(snd_buffer_status(b), 0u);
    e.play();
    EXPECT_EQ(lines(e.line), e.restarts ? 4 : 2);
    EXPECT_NE(snd_buffer_status(b) & SNDBUF_PLAYING, 0u);
  }
}

TEST_F(Bank, AClockThatJumpsOrWrapsDoesNotPlayHoursOfSilence) {
  load(&sound.objects[SND_WALL], 200);
  play_wallstop();
  headless.clock_ms = 0x7FFFFF00u; // 24 days on
  headless_audio_pump();
  headless.clock_ms = 0xFFFFFE00u; // 24 more
  headless_audio_pump();
  EXPECT_EQ(snd_buffer_status(sound.objects[SND_WALL].buffers[0]), 0u);
  std::uint64_t frames = headless_audio_frames();
  play_wallstop();
  headless.clock_ms = 0x100; // wraps: 768 ms later
  headless_audio_pump();
  EXPECT_NEAR(static_cast<double>(headless_audio_frames() - frames), 768 * 44.1, 1);
  EXPECT_EQ(snd_buffer_status(sound.objects[SND_WALL].buffers[0]), 0u);
}

TEST_F(Bank, LoopingIsRefusedWithMoreThanOneBuffer) {
  sound_object two;
  load(&two, 50, 2);
  EXPECT_EQ(sound_play(&two, 1), 0);
  EXPECT_EQ(sound_play(&two, 0), 1);
  EXPECT_EQ(sound_play(&two, 0), 1); // the second buffer takes it
  EXPECT_EQ(two.current, 1);
  EXPECT_EQ(sound_stop(&two), 1);
  EXPECT_EQ(sound_stop(nullptr), 0);
}

TEST_F(Bank, WithoutADeviceTheGameRunsSilent) {
  headless_audio_set_devices(false, true);
  sound_init();
  EXPECT_FALSE(sound.device);
  for (int i = 0; i < SOUND_COUNT; i++) {
    EXPECT_FALSE(sound.objects[i].present);
    play_effect(i);
  }
  EXPECT_TRUE(headless.log.empty());
}

TEST_F(Bank, UnplayableWaveDataLeavesTheEffectSilent) {
  load(&sound.objects[SND_WALL], 50);
  bytes w = wave_of({{"fmt ", patched(fmt_chunk(1, 22050, 16), 0, {2})}, // not PCM
                     {"data", bytes(100, 1)}});
  wave_info info;
  ASSERT_EQ(parse_wave(w.data(), w.size(), &info), 1);
  EXPECT_EQ(sound_create_from(&sound.objects[SND_DOOR], info, 1), 0);
  EXPECT_FALSE(sound.objects[SND_DOOR].present);
  play_door();
  EXPECT_EQ(lines("sound: Door"), 0);
  EXPECT_EQ(sound_create(&sound.objects[SND_INFO], "NoSuchSound", 1), 0);
}

TEST_F(Bank, TheGamesOwnEffectsLoadInAnyCase) {
  wave_info w;
  if (!find_wave("MENUSOUND", &w)) GTEST_SKIP() << "the default game's sounds are not built in";
  EXPECT_EQ(find_wave("menusound", &w), 1);
  sound_init();
  ASSERT_TRUE(sound.device);
  for (int i = 0; i < SOUND_COUNT; i++) EXPECT_TRUE(sound.objects[i].present) << i;
}

} // namespace
