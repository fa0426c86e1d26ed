// Sound effects synthesised from voices (square, sine, triangle, saw and
// noise with pitch sweeps and envelopes), written as 16-bit PCM WAV files.
#pragma once
#include "tools/art/art_source.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int SOUND_RATE = 22050;
// Every effect peaks here: about 6 to 10 dB above the music as the game's
// synthesiser plays it, so that effects cut through without drowning it.
constexpr double SOUND_PEAK = 0.35;

struct voice {
  std::string wave; // square, sine, triangle, saw, noise
  double f0 = 440, f1 = 440, start = 0, dur = 0.1, volume = 0.5, attack = 0.002, duty = 0.5;
  double vibrato = 0; // Hz of a small pitch wobble
};

struct sound_def {
  std::string name;
  std::vector<voice> voices;
};

// Reads "sound NAME" headers and their "voice ..." lines.
std::string read_sounds(const std::vector<src_line>& lines, std::vector<sound_def>& out);
// Mixes the voices and scales the result to SOUND_PEAK of full scale.
std::vector<std::int16_t> render_sound(const sound_def& s);
std::vector<std::uint8_t> wav_bytes(const std::vector<std::int16_t>& samples);
