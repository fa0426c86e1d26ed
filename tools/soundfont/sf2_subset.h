// A General MIDI soundfont cut down to the presets a set of MIDI files can
// sound: the presets, their instruments and the samples those play, with the
// sample data copied unchanged, so that the synthesiser renders the same
// music from a file a few megabytes long instead of a hundred and fifty.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

using sf2_bytes = std::vector<std::uint8_t>;

constexpr int SF2_DRUM_BANK = 128;
constexpr int MIDI_DRUM_CHANNEL = 9;

// A preset as (bank, program); the drum channel's programs are in the drum
// bank. A note as (key, velocity): the two things that choose the zones, and
// so the samples, that sound it.
using preset_id = std::pair<int, int>;
using note_id = std::pair<int, int>;
using note_set = std::set<note_id>;

// What a set of MIDI files plays.
struct midi_use {
  std::map<preset_id, note_set> notes; // every preset selected, with the notes played on it
  // A channel keeps its preset from one piece to the next: notes a piece
  // plays before its first program change may sound any preset the channel
  // was ever set to, or its start preset.
  note_set loose[16];
  std::set<preset_id> selected[16];
};

// Adds what a standard MIDI file plays to `use`. False with the reason in
// `why` for a file that is not a standard MIDI file.
bool midi_use_of(const sf2_bytes& midi, midi_use* use, std::string* why);

// Writes into `out` the soundfont `sf2` keeping only the presets `use`
// selects (and those the synthesiser falls back to when one is missing), and
// of those only the zones its notes fall in. False with the reason in `why`
// for a malformed soundfont.
bool sf2_subset(const sf2_bytes& sf2, const midi_use& use, sf2_bytes* out, std::string* why);
