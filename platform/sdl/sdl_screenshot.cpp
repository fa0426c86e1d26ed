// Screenshots: the picture the window shows last, as it is drawn (256 x 256)
// and as large as the window shows it, named by the date and time, into the
// player's pictures folder (the one xdg-user-dir names), else the game folder.
#include "platform/png.h"
#include "platform/sdl/sdl_backend.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {

constexpr int PICTURE = 256;

bool is_folder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// XDG_PICTURES_DIR of user-dirs.dirs: "$HOME/..." or an absolute path.
std::string user_pictures_dir() {
  const char* home = std::getenv("HOME");
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (!home || home[0] != '/') return {};
  std::string dirs =
      config && config[0] == '/' ? std::string(config) : std::string(home) + "/.config";
  std::ifstream in(dirs + "/user-dirs.dirs");
  const std::string key = "XDG_PICTURES_DIR=\"";
  for (std::string line; std::getline(in, line);) {
    if (line.compare(0, key.size(), key) != 0 || line.back() != '"') continue;
    std::string v = line.substr(key.size(), line.size() - key.size() - 1);
    if (v.compare(0, 5, "$HOME") == 0) v = home + v.substr(5);
    // a pictures folder set to the home folder itself means none was chosen
    if (v.empty() || v[0] != '/' || v == home || v == std::string(home) + "/") return {};
    return v;
  }
  return {};
}

// name.png, or name-2.png and so on when two shots fall in one second.
std::string free_name(const std::string& stem) {
  std::string path = stem + ".png";
  struct stat st;
  for (int n = 2; stat(path.c_str(), &st) == 0; n++) path = stem + "-" + std::to_string(n) + ".png";
  return path;
}

void stretch(const surface& src, surface& dst, int w, int h) {
  surface_create(dst, w, h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const std::uint8_t* s = &src.px[(static_cast<std::size_t>(y * src.h / h) * src.w +
                                       static_cast<std::size_t>(x * src.w / w)) *
                                      3];
      std::uint8_t* d = &dst.px[(static_cast<std::size_t>(y) * w + x) * 3];
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
}

int write(const std::string& path, const surface& s) {
  std::string why;
  if (write_png(path.c_str(), s, &why) != 0) {
    std::fprintf(stderr, "zandrek: screenshot: %s\n", why.c_str());
    std::remove(path.c_str()); // no half-written picture
    return 1;
  }
  std::printf("zandrek: screenshot %s\n", path.c_str());
  std::fflush(stdout);
  return 0;
}

} // namespace

std::string screenshot_folder() {
  std::string pictures = user_pictures_dir();
  if (!pictures.empty() && is_folder(pictures)) return pictures;
  char here[4096];
  return getcwd(here, sizeof here) ? std::string(here) : std::string(".");
}

int sdl_screenshot() {
  if (sdl.shown.size() != static_cast<std::size_t>(PICTURE) * PICTURE * 3) return 1;
  surface shot;
  shot.w = shot.h = PICTURE;
  shot.px = sdl.shown;
  char stamp[32];
  std::time_t now = std::time(nullptr);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", std::localtime(&now));
  std::string stem = screenshot_folder() + "/zandrek_" + stamp;
  int failed = write(free_name(stem), shot);
  SDL_Rect area = sdl_picture_rect();
  if (area.w > 0 && area.h > 0 && (area.w != PICTURE || area.h != PICTURE)) {
    surface large;
    stretch(shot, large, area.w, area.h);
    failed |=
        write(free_name(stem + "_" + std::to_string(area.w) + "x" + std::to_string(area.h)), large);
  }
  return failed;
}
