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

bytes some_samples(int n) {
  bytes d;
  for (int i = 0; i < n; i++) d.push_back(static_cast<std::uint8_t>(i));
  return d;
}

TEST(ParseWave, ChunksInAnyOrderWithOddSizesPadded) {
  bytes c;
  chunk(c, "LIST", some_samples(5)); // odd: one pad byte follows
  chunk(c, "data", some_samples(7));
  chunk(c, "junk", some_samples(3));
  chunk(c, "fmt ", fmt_chunk(2, 11025, 8));
  bytes w = riff(c);
  wave_info info;
  ASSERT_EQ(parse_wave(w.data(), w.size(), &info), 1);
  EXPECT_EQ(info.format.channels, 2);
  EXPECT_EQ(info.format.samples_per_sec, 11025u);
  EXPECT_EQ(info.format.bits_per_sample, 8);
  EXPECT_EQ(info.size, 7u);
  EXPECT_EQ(info.data, w.data() + 12 + 8 + 6 + 8); // after LIST and its pad
  EXPECT_EQ(info.data[6], 6);
}

TEST(ParseWave, FirstFormatAndFirstDataCount) {
  bytes c;
  chunk(c, "fmt ", fmt_chunk(1, 8000, 16));
  chunk(c, "data", some_samples(4));
  chunk(c, "fmt ", fmt_chunk(2, 44100, 8));
  chunk(c, "data", some_samples(10));
  bytes w = riff(c);
  wave_info info;
  ASSERT_EQ(parse_wave(w.data(), w.size(), &info), 1);
  EXPECT_EQ(info.format.samples_per_sec, 8000u);
  EXPECT_EQ(info.size, 4u);
}

TEST(ParseWave, FormatOfFourteenBytesIsEnoughAndThirteenIsNot) {
  for (int size : {13, 14}) {
    bytes c;
    chunk(c, "fmt ", fmt_chunk(1, 22050, 16, size));
    chunk(c, "data", some_samples(4));
    bytes w = riff(c);
    wave_info info;
    EXPECT_EQ(parse_wave(w.data(), w.size(), &info), size == 14 ? 1 : 0) << size;
    if (size == 14) {
      EXPECT_EQ(info.format.bits_per_sample, 0); // the block gives it
    }
  }
}

TEST(ParseWave, DamagedImagesFail) {
  bytes c;
  chunk(c, "fmt ", fmt_chunk(1, 22050, 16));
  chunk(c, "data", some_samples(100));
  bytes good = riff(c);
  wave_info info;
  // cut inside the data chunk: its size runs past the image
  EXPECT_EQ(parse_wave(good.data(), good.size() - 10, &info), 0);
  bytes not_riff = good;
  not_riff[0] = 'X';
  EXPECT_EQ(parse_wave(not_riff.data(), not_riff.size(), &info), 0);
  bytes not_wave = good;
  not_wave[8] = 'A';
  EXPECT_EQ(parse_wave(not_wave.data(), not_wave.size(), &info), 0);
  // a RIFF size that claims less than the data chunk needs
  bytes short_riff = good;
  short_riff[4] = 30;
  short_riff[5] = short_riff[6] = short_riff[7] = 0;
  EXPECT_EQ(parse_wave(short_riff.data(), short_riff.size(), &info), 0);
  // no data chunk at all
  bytes only_fmt;
  chunk(only_fmt, "fmt ", fmt_chunk(1, 22050, 16));
  bytes w = riff(only_fmt);
  EXPECT_EQ(parse_wave(w.data(), w.size(), &info), 0);
  EXPECT_EQ(parse_wave(good.data(), 11, &info), 0);
}

TEST(ParseWave, RiffSizeBeyondTheImageIsNotFollowed) {
  bytes c;
  chunk(c, "fmt ", fmt_chunk(1, 22050, 16));
  bytes w = riff(c);
  w[4] = w[5] = w[6] = 0xFF; // claims megabytes; the image ends before a data chunk
  wave_info info;
  EXPECT_EQ(parse_wave(w.data(), w.size(), &info), 0);
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
  void load(int effect, int ms) {
    wave = tone_wav(ms);
    wave_info w;
    ASSERT_EQ(parse_wave(wave.data(), wave.size(), &w), 1);
    ASSERT_EQ(sound_create_from(&sound.objects[effect], w, 1), 1);
  }
  int lines(const std::string& l) {
    return static_cast<int>(std::count(headless.log.begin(), headless.log.end(), l));
  }
  bytes wave;
};

TEST_F(Bank, WallBumpsDoNotRestartTheWallSoundUntilItEnds) {
  ASSERT_EQ(snd_device_open(), 1);
  sound.device = true;
  load(SND_WALL, 200);
  play_wallstop();
  advance(50);
  std::uint32_t pos = snd_buffer_position(sound.objects[SND_WALL].buffers[0]);
  EXPECT_GT(pos, 0u);
  play_wallstop();
  play_wallstop();
  EXPECT_EQ(lines("sound: WallStop"), 1);
  EXPECT_GE(snd_buffer_position(sound.objects[SND_WALL].buffers[0]), pos);
  advance(200); // ended: the next bump sounds again, from the start
  EXPECT_EQ(snd_buffer_status(sound.objects[SND_WALL].buffers[0]), 0u);
  play_wallstop();
  EXPECT_EQ(lines("sound: WallStop"), 2);
  EXPECT_NE(snd_buffer_status(sound.objects[SND_WALL].buffers[0]) & SNDBUF_PLAYING, 0u);
}

TEST_F(Bank, MenuClicksRestartTheMenuSound) {
  ASSERT_EQ(snd_device_open(), 1);
  sound.device = true;
  load(SND_MENU, 300);
  play_menusound();
  advance(100);
  int b = sound.objects[SND_MENU].buffers[0];
  EXPECT_GT(snd_buffer_position(b), 22050u * 2 / 20); // more than 50 ms in
  play_menusound();
  EXPECT_EQ(snd_buffer_position(b), 0u);
  EXPECT_EQ(lines("sound: menusound"), 2);
  EXPECT_NE(snd_buffer_status(b) & SNDBUF_PLAYING, 0u);
}

TEST_F(Bank, AClockThatJumpsOrWrapsDoesNotPlayHoursOfSilence) {
  ASSERT_EQ(snd_device_open(), 1);
  sound.device = true;
  load(SND_WALL, 200);
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
  ASSERT_EQ(snd_device_open(), 1);
  sound.device = true;
  wave = tone_wav(50);
  wave_info w;
  ASSERT_EQ(parse_wave(wave.data(), wave.size(), &w), 1);
  sound_object two;
  ASSERT_EQ(sound_create_from(&two, w, 2), 1);
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
  play_wallstop();
  play_menusound();
  EXPECT_TRUE(headless.log.empty());
}

TEST_F(Bank, UnplayableWaveDataLeavesTheEffectSilent) {
  ASSERT_EQ(snd_device_open(), 1);
  sound.device = true;
  bytes c;
  bytes f = fmt_chunk(1, 22050, 16);
  f[0] = 2; // not PCM
  chunk(c, "fmt ", f);
  chunk(c, "data", some_samples(100));
  bytes w = riff(c);
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
