#include "state/save_slots.h"

#include "platform/file.h"
#include "state/data_files.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* SAVE_TEMP = "rpgpcd.pcd.tmp";

// Writes all bytes to fd; false on any failure.
bool write_all(int fd, const u8* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w <= 0) return false;
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

// The new file is written whole beside the old one and only then put in its
// place, so that a save that fails part-way leaves the slots already saved.
bool write_save_file(const save_block (&slots)[SLOT_COUNT]) {
  int fd = ::open(SAVE_TEMP, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, reinterpret_cast<const u8*>(slots), SAVE_FILE_BYTES);
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && std::rename(SAVE_TEMP, SAVE_FILE) == 0;
  if (!ok) {
    ::unlink(SAVE_TEMP);
    return false;
  }
  int dir = ::open(".", O_RDONLY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

} // namespace

int read_slots() {
  std::FILE* f = open_read_file(SAVE_FILE);
  if (!f) return 1;
  int whole = 0;
  save_block slot;
  // One slot at a time: a short file gives its whole slots and nothing of a
  // part-written one.
  while (whole < SLOT_COUNT && std::fread(&slot, SLOT_BYTES, 1, f) == 1) game.slots[whole++] = slot;
  std::fclose(f);
  return whole == SLOT_COUNT ? 0 : 1;
}

int load_slot(int k, save_block& slot) {
  if (read_slots() != 0) return 1;
  if (k < 0 || k >= SLOT_COUNT || game.slots[k].map == 0) return 2;
  // Checked before anything is touched: resuming would put the party on a
  // grid that is not there, and the next save would write that place back.
  if (!map_holds(game.slots[k].map, game.slots[k].x, game.slots[k].y)) return SLOT_PLACE_MISSING;
  slot = game.slots[k];
  return 0;
}

int save_slot(int k) {
  if (k < 0 || k >= SLOT_COUNT) return 1;
  save_block next[SLOT_COUNT];
  std::memcpy(next, game.slots, sizeof next);
  save_block& s = next[k];
  s = game.sb;
  s.map = static_cast<u8>(game.cur_map);
  s.x = static_cast<u8>(game.pos_x);
  s.y = static_cast<u8>(game.pos_y);
  int area = game.cur_map == WORLD_MAP ? area_at(WORLD_MAP, game.pos_x, game.pos_y) : game.cur_area;
  s.area = static_cast<u8>(area);
  if (!write_save_file(next)) return 1;
  std::memcpy(game.slots, next, sizeof next);
  return 0;
}

const char* slot_label(int k) {
  if (k < 0 || k >= SLOT_COUNT || game.slots[k].map == 0) return "－－ 未使用 －－";
  return area_name(game.slots[k].map, game.slots[k].area);
}
