// zandrek-soundfont GAME_DIR: writes GAME_DIR/music.sf2, the installed
// General MIDI soundfont cut down to the presets the folder's MIDI files
// select or sound. Run by the build after the music is composed, so the cut
// follows every change of the music. With no soundfont installed it removes
// a stale cut and writes nothing: the game then says the soundfont is missing.
#include "platform/soundfont.h"
#include "tools/soundfont/sf2_subset.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

bool read_all(const fs::path& p, sf2_bytes* out) {
  std::ifstream f(p, std::ios::binary);
  if (!f) return false;
  out->assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return !f.bad();
}

// Written beside the target and renamed over it, so no half-written font is left.
bool write_all(const fs::path& p, const sf2_bytes& b) {
  fs::path tmp = p;
  tmp += ".part";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size())))
      return false;
  }
  std::error_code ec;
  fs::rename(tmp, p, ec);
  return !ec;
}

int fail(const std::string& what, const std::string& why) {
  std::fprintf(stderr, "zandrek-soundfont: %s: %s\n", what.c_str(), why.c_str());
  return 1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) return std::fprintf(stderr, "usage: zandrek-soundfont GAME_DIR\n"), 2;
  fs::path dir = argv[1], out = dir / GAME_SOUNDFONT;
  const char* source = nullptr;
  for (const char* p : GM_SOUNDFONTS)
    if (fs::exists(p)) {
      source = p;
      break;
    }
  std::error_code ec;
  if (!source) {
    fs::remove(out, ec);
    std::printf("zandrek-soundfont: no General MIDI soundfont installed; no %s\n", GAME_SOUNDFONT);
    return 0;
  }
  midi_use use;
  std::string why;
  for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
    if (e.path().extension() != ".mid") continue;
    sf2_bytes midi;
    if (!read_all(e.path(), &midi)) return fail(e.path().string(), "cannot be read");
    if (!midi_use_of(midi, &use, &why)) return fail(e.path().string(), why);
  }
  if (ec) return fail(dir.string(), ec.message());
  sf2_bytes full, cut;
  if (!read_all(source, &full)) return fail(source, "cannot be read");
  if (!sf2_subset(full, use, &cut, &why)) return fail(source, why);
  if (!write_all(out, cut)) return fail(out.string(), "cannot be written");
  std::printf("zandrek-soundfont: %zu presets of %s, %zu of %zu bytes\n", use.notes.size(), source,
              cut.size(), full.size());
  return 0;
}
