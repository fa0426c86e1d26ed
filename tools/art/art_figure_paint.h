// Painting of one 16 x 16 figure picture for the character sheet: people,
// four-legged animals, slimes, ghosts, jellyfish, worms, birds, mimic chests
// and the ship,
// each in four facings and two walking frames.
#pragma once
#include "tools/art/art_image.h"

#include <string>

struct figure_look {
  std::string kind = "human";   // human, quad, blob, drop, ghost, jelly, worm, bird, chest, ship
  std::string body = "man";     // man, robe, child, stout (people)
  std::string hat = "none";     // none, helmet, crown, hood, pointed, cap, horns, bald, halo
  std::string hairdo = "short"; // short, long (to the shoulders), bun
  std::string item = "none";    // none, staff, spear, sword, book
  rgb skin{236, 188, 148}, hair{96, 60, 30}, top{60, 90, 200}, legs{70, 60, 50}, boots{80, 50, 30},
      cape{}, hatc{}, beard{}, itemc{150, 110, 60}, belt{}, eye{0, 0, 1}, apron{}, wings{}, mark{};
  bool has_cape = false, has_beard = false, has_belt = false, has_apron = false, has_wings = false,
       has_mark = false;
};

// facing 0 down, 1 left, 2 right, 3 up; frame 0 or 1.
image paint_figure(const figure_look& f, int facing, int frame);
