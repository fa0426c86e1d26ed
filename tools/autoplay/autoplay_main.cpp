// zandrek-autoplay [-C GAME_DIR] [--places FILE] [--ticks N] [--pictures DIR]
// [--trace] [--until-flag N]: plays the game from the title screen to the
// ending with the keyboard alone and prints the route's statistics as JSON.
// Exits 0 when the ending screen (or the story flag asked for) was reached.
#include "event/event.h"
#include "state/state.h"
#include "tools/autoplay/player.h"
#include "tools/autoplay/world_index.h"
#include "tools/replay/drive.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

int usage() {
  std::fprintf(stderr, "usage: zandrek-autoplay [-C GAME_DIR] [--places FILE] [--ticks N] "
                       "[--pictures DIR] [--trace] [--until-flag N]\n");
  return 2;
}

void print_counts(const char* name, const int* counts, int n, bool last) {
  std::printf("  \"%s\": {", name);
  bool first = true;
  for (int i = 0; i < n; i++) {
    if (!counts[i]) continue;
    std::printf("%s\"%d\": %d", first ? "" : ", ", i, counts[i]);
    first = false;
  }
  std::printf("}%s\n", last ? "" : ",");
}

void print_stats(int result) {
  std::printf("{\n  \"ending\": %s,\n", events.ending_shown == 1 ? "true" : "false");
  std::printf("  \"reached\": %s,\n", result == 0 ? "true" : "false");
  std::printf("  \"ticks\": %llu,\n", static_cast<unsigned long long>(driver.ticks));
  std::printf("  \"steps\": %llu,\n", static_cast<unsigned long long>(player.steps));
  std::printf("  \"battles\": %d,\n  \"rests\": %d,\n", player.battles, player.rests);
  std::printf("  \"saves\": %d,\n  \"wipeouts\": %d,\n", player.saves, player.wipeouts);
  std::printf("  \"levels\": [%d, %d, %d],\n", game.sb.party[0].level, game.sb.party[1].level,
              game.sb.party[2].level);
  std::printf("  \"gold\": %u,\n", static_cast<unsigned>(game.sb.gold));
  std::printf("  \"pictures\": %d,\n", player.pictures_taken);
  print_counts("battles_by_world_area", player.battles_world, 14, false);
  print_counts("battles_by_place", player.battles_place, 64, false);
  std::printf("  \"stopped\": \"%s\"\n}\n", player.stuck.c_str());
}

} // namespace

int main(int argc, char** argv) {
  std::string game_dir, places = ZK_SOURCE_DIR "/content/world/places.txt";
  unsigned long long ticks = 3000000;
  std::string pictures;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "-C") == 0 && i + 1 < argc)
      game_dir = argv[++i];
    else if (std::strcmp(argv[i], "--places") == 0 && i + 1 < argc)
      places = argv[++i];
    else if (std::strcmp(argv[i], "--trace") == 0)
      player.trace = true;
    else if (std::strcmp(argv[i], "--until-flag") == 0 && i + 1 < argc)
      player.until_flag = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--pictures") == 0 && i + 1 < argc)
      pictures = argv[++i];
    else if (std::strcmp(argv[i], "--ticks") == 0 && i + 1 < argc)
      ticks = std::strtoull(argv[++i], nullptr, 10);
    else
      return usage();
  }
  std::vector<place_entry> list;
  std::string why;
  if (read_places(places.c_str(), &list, &why) != 0) {
    std::fprintf(stderr, "zandrek-autoplay: %s\n", why.c_str());
    return 2;
  }
  if (!pictures.empty() && pictures[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) pictures = std::string(cwd) + "/" + pictures;
  }
  std::error_code made;
  if (!pictures.empty() && !std::filesystem::is_directory(pictures, made) &&
      !std::filesystem::create_directories(pictures, made)) {
    std::fprintf(stderr, "zandrek-autoplay: cannot make the folder %s\n", pictures.c_str());
    return 2;
  }
  if (!game_dir.empty() && chdir(game_dir.c_str()) != 0) {
    std::fprintf(stderr, "zandrek-autoplay: cannot enter %s\n", game_dir.c_str());
    return 2;
  }
  if (read_world_index() != 0) {
    std::fprintf(stderr, "zandrek-autoplay: no world map (dmapdat004.mp) here\n");
    return 2;
  }
  if (drive_start(true) != 0) {
    std::fprintf(stderr, "zandrek-autoplay: the game did not start\n");
    return 1;
  }
  player.pictures = pictures;
  int result = play_to_the_end(list, ticks);
  print_stats(result);
  if (result != 0) std::fprintf(stderr, "zandrek-autoplay: %s\n", player.stuck.c_str());
  return result;
}
