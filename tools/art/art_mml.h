// The music notation of content/art/music/*.mml: a header (title, tempo,
// loop), then "track NAME program=P channel=C volume=V pan=P" lines, each
// followed by lines of notes: c d e f g a b with + or - (sharp, flat), a
// length (1 2 4 8 16 32, 3 6 12 24 for triplets) and dots; r rest; ^N
// holds the last note longer; o N octave, < and > one down or up; l N
// default length; v N loudness; q N sounding part of a note in eighths;
// { ceg }N a chord; [ ... ]N a repeat; k N (k-N) moves every later note N
// semitones up (down), k0 back. "phrase NAME notes..." lines (anywhere, each
// line of a name adding to it) name a passage that $NAME plays in any track,
// so a tune's sections and an accompaniment figure are written once; with k
// one figure serves every chord. On channel 9 (drums) the letters are
// k kick, s snare, h hat, o open hat, c crash, t and m toms, p ride, x clap.
#pragma once
#include "tools/art/art_source.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int MML_DIVISION = 480; // ticks per quarter note

struct note_event {
  std::uint32_t tick;
  int order; // 0 note-offs first at a tick, then the rest
  std::vector<std::uint8_t> bytes;
};

struct mml_track {
  std::string name;
  int program = 0, channel = 0, volume = 100, pan = 64;
  std::vector<note_event> events;
  std::uint32_t length = 0; // ticks
  int line = 0;
};

struct mml_piece {
  std::string title;
  int tempo = 120; // quarter notes per minute
  bool loop = true;
  std::vector<mml_track> tracks;
};

std::string parse_piece(const std::vector<src_line>& lines, mml_piece& out);
// A format-1 standard MIDI file: a tempo track, then one track per part,
// every track ending on the same tick.
std::vector<std::uint8_t> midi_bytes(const mml_piece& p);
