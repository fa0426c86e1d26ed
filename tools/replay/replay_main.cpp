// zandrek-replay [-C GAME_DIR] [--audio FILE.wav] SCRIPT: the game on the
// headless platform, driven by a script of keys, ticks and menu commands in
// virtual time.
#include "gfx/surfaces.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/platform.h"
#include "platform/png.h"
#include "shell/shell.h"
#include "tools/replay/drive.h"
#include "tools/replay/dump.h"
#include "tools/replay/script.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct replay_run {
  std::size_t log_mark = 0; // log lines already dumped
  std::string out_dir;      // where relative output paths are, the starting directory
};

replay_run run;

std::string out_path(const std::string& f) {
  return f[0] == '/' ? f : run.out_dir + "/" + f;
}

int write_dump(const std::string& path, std::string* why) {
  std::vector<std::string> lines;
  for (std::size_t i = run.log_mark; i < headless.log.size(); i++)
    if (headless.log[i].rfind("debug: ", 0) != 0) lines.push_back(headless.log[i]);
  run.log_mark = headless.log.size();
  std::ofstream out(path, std::ios::binary);
  out << dump_json(lines);
  if (!out) *why = "cannot write " + path;
  return out ? 0 : 1;
}

// One step; 0, or 1 with the reason.
int run_step(const replay_step& s, std::string* why) {
  switch (s.op) {
  case OP_KEY:
    drive_post(MSG_KEYDOWN, s.value);
    break;
  case OP_MENU:
    drive_post(MSG_COMMAND, s.value);
    break;
  case OP_ACTIVATE:
    drive_post(MSG_ACTIVATEAPP, s.value);
    break;
  case OP_TICK:
    for (std::uint32_t i = 0; i < s.value; i++) drive_tick();
    break;
  case OP_WAIT:
    drive_wait_ms(s.value);
    break;
  case OP_SHOT:
    if (!surface_exists(gfx.back_surface)) {
      *why = "there is no back buffer to take a picture of";
      return 1;
    }
    return write_png(out_path(s.file).c_str(), gfx.back_surface, why);
  case OP_DUMP:
    return write_dump(out_path(s.file), why);
  }
  return 0;
}

int usage() {
  std::fprintf(stderr, "usage: zandrek-replay [-C GAME_DIR] [--audio FILE.wav] SCRIPT\n");
  return 2;
}

bool read_file(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  *text = ss.str();
  return true;
}

} // namespace

int main(int argc, char** argv) {
  std::string game_dir, script_path, audio_path;
  for (int i = 1; i < argc; i++) {
    if (std::strcmp(argv[i], "-C") == 0 && i + 1 < argc)
      game_dir = argv[++i];
    else if (std::strcmp(argv[i], "--audio") == 0 && i + 1 < argc)
      audio_path = argv[++i];
    else if (script_path.empty() && argv[i][0] != '-')
      script_path = argv[i];
    else
      return usage();
  }
  if (script_path.empty()) return usage();
  std::string text, error;
  if (!read_file(script_path, &text)) {
    std::fprintf(stderr, "zandrek-replay: cannot read %s\n", script_path.c_str());
    return 2;
  }
  std::vector<replay_step> steps;
  if (parse_script(text, steps, &error) != 0) {
    std::fprintf(stderr, "%s: %s\n", script_path.c_str(), error.c_str());
    return 2;
  }
  char cwd[PATH_MAX];
  run.out_dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
  if (!game_dir.empty() && chdir(game_dir.c_str()) != 0) {
    std::fprintf(stderr, "zandrek-replay: cannot enter %s\n", game_dir.c_str());
    return 2;
  }
  headless_reset();
  // what a player would hear, from the first sound of start-up on
  if (!audio_path.empty() && headless_audio_capture_start(out_path(audio_path).c_str()) != 0) {
    std::fprintf(stderr, "zandrek-replay: cannot write %s\n", audio_path.c_str());
    return 1;
  }
  if (startup() != 0)
    driver.quit = true; // the game ends at once, with exit code 0
  else
    drive_post(MSG_ACTIVATEAPP, 1); // as the system does for the window once it is shown
  int result = 0;
  for (const replay_step& s : steps) {
    if (run_step(s, &error) != 0) {
      std::fprintf(stderr, "%s: line %d: %s\n", script_path.c_str(), s.line, error.c_str());
      result = 1;
      break;
    }
  }
  headless_audio_pump();
  if (!audio_path.empty() && headless_audio_capture_stop() != 0 && result == 0) {
    std::fprintf(stderr, "zandrek-replay: cannot finish %s\n", audio_path.c_str());
    result = 1;
  }
  return result == 0 ? driver.exit_code : result;
}
