// zandrek, as installed: makes the player's own game folder, fills it with
// links to the installed game data and starts the game there. The game
// itself reads only its working directory, so saves land in the player's
// folder and the installed data stays read-only.
//
// Where things are is worked out from this program's own place, so that an
// install under any prefix runs as it is.
#include <SDL.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifndef ZK_VERSION
#define ZK_VERSION "0"
#endif

namespace {

// The save file belongs to the player: never linked, replaced or removed.
constexpr const char* SAVE_FILE = "rpgpcd.pcd";
// What the folder was last filled from: the version and the data folder.
constexpr const char* STAMP_FILE = ".installed-data";
constexpr int EXIT_NO_FOLDER = 1;

// Started from the desktop nobody sees standard error, so the reason also
// goes into a box when there is a display to show one.
int fail(const std::string& why) {
  std::fprintf(stderr, "zandrek: %s\n", why.c_str());
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "Zandrek", why.c_str(), nullptr);
  return EXIT_NO_FOLDER;
}

std::string own_folder() {
  char buf[4096];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  buf[n] = 0;
  std::string p(buf);
  return p.substr(0, p.rfind('/'));
}

// The player's folder: ${XDG_DATA_HOME:-$HOME/.local/share}/zandrek.
bool player_folder(std::string* dir, std::string* why) {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (xdg && xdg[0] == '/') {
    *dir = std::string(xdg) + "/zandrek";
  } else if (home && home[0] == '/') {
    *dir = std::string(home) + "/.local/share/zandrek";
  } else {
    *why = "there is no home folder (HOME is not set) to keep your saves in";
    return false;
  }
  return true;
}

bool make_folders(const std::string& dir, std::string* why) {
  for (std::size_t at = 1; at != std::string::npos;) {
    at = dir.find('/', at + 1);
    std::string part = dir.substr(0, at);
    if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
      *why = "cannot make the game folder " + part + ": " + std::strerror(errno);
      return false;
    }
  }
  if (access(dir.c_str(), W_OK | X_OK) != 0) {
    *why = "cannot write in the game folder " + dir + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

std::string read_file(const std::string& path) {
  std::string s;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[512];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
    std::fclose(f);
  }
  return s;
}

bool is_link(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Links of an earlier install whose file is gone point nowhere: removed.
void drop_dangling_links(const std::string& dir) {
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  struct stat st;
  while (dirent* e = readdir(d)) {
    std::string p = dir + "/" + e->d_name;
    if (is_link(p) && stat(p.c_str(), &st) != 0) unlink(p.c_str());
  }
  closedir(d);
}

// Every data file gets a link in the player's folder. A file the player put
// there himself (not a link) is his and stays.
bool link_data(const std::string& data, const std::string& dir, std::string* why) {
  drop_dangling_links(dir);
  DIR* d = opendir(data.c_str());
  if (!d) {
    *why = "cannot read the game data in " + data + ": " + std::strerror(errno);
    return false;
  }
  bool ok = true;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name[0] == '.' || name == SAVE_FILE) continue;
    std::string from = data + "/" + name, to = dir + "/" + name;
    struct stat st;
    if (lstat(to.c_str(), &st) == 0) {
      if (!S_ISLNK(st.st_mode)) continue;
      unlink(to.c_str());
    }
    if (symlink(from.c_str(), to.c_str()) != 0) {
      *why = "cannot link " + to + ": " + std::strerror(errno);
      ok = false;
      break;
    }
  }
  closedir(d);
  return ok;
}

bool write_stamp(const std::string& dir, const std::string& stamp) {
  std::string tmp = dir + "/" + STAMP_FILE + ".new";
  FILE* f = std::fopen(tmp.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(stamp.data(), 1, stamp.size(), f) == stamp.size();
  ok = std::fclose(f) == 0 && ok;
  return ok && std::rename(tmp.c_str(), (dir + "/" + STAMP_FILE).c_str()) == 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    bool version = std::strcmp(argv[1], "--version") == 0;
    std::printf(version ? "zandrek %s\n"
                        : "usage: zandrek\nStarts the game in ${XDG_DATA_HOME:-~/.local/share}/"
                          "zandrek, where your saves are kept (version %s).\n",
                ZK_VERSION);
    return version || std::strcmp(argv[1], "--help") == 0 ? 0 : 2;
  }
  std::string here = own_folder();
  if (here.empty()) return fail("cannot find where the game is installed");
  std::string data = here + "/" ZK_DATA_FROM_BIN, program = here + "/" ZK_PROGRAM_FROM_BIN;
  if (char* real = realpath(data.c_str(), nullptr)) {
    data = real; // links read as plain paths into the install
    std::free(real);
  }
  std::string dir, why;
  if (!player_folder(&dir, &why) || !make_folders(dir, &why)) return fail(why);
  std::string stamp = std::string(ZK_VERSION) + "\n" + data + "\n";
  if (read_file(dir + "/" + STAMP_FILE) != stamp) {
    if (!link_data(data, dir, &why)) return fail(why);
    if (!write_stamp(dir, stamp)) return fail("cannot write in the game folder " + dir);
  }
  if (chdir(dir.c_str()) != 0) return fail("cannot enter the game folder " + dir);
  execl(program.c_str(), "zandrek", static_cast<char*>(nullptr));
  return fail("cannot start " + program + ": " + std::strerror(errno));
}
