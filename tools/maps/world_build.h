// The default game's maps in one go: the world, its towns and dungeons, and
// the stairs that join them (zandrek-worldgen, and the tests of the content).
#pragma once
#include "tools/maps/place_gen.h"
#include "tools/maps/world_gen.h"

#include <string>
#include <vector>

// Grows and writes every map into `outdir`; the world map is also left in
// `world_map`. Moves entrances that the coast left in the water onto land
// (`places` keeps where they went). "" or what went wrong.
std::string build_world(const tile_catalogue& tiles, world_desc& world,
                        std::vector<place_desc>& places, const std::string& outdir,
                        map_source& world_map);
