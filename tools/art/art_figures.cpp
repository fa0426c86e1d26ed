// The character sheet PLC: every figure of content/sprites.txt painted from
// its look in content/art/figures.txt, eight pictures in a row (down, left,
// right, up, two walking frames each).
#include "tools/art/art.h"
#include "tools/art/art_figure_paint.h"

#include <map>

namespace {

std::string look_of(const src_line& l, const palette& pal, figure_look& f) {
  auto o = options_of(l, 2);
  std::map<std::string, std::string*> words = {{"kind", &f.kind},
                                               {"body", &f.body},
                                               {"hat", &f.hat},
                                               {"item", &f.item},
                                               {"hairdo", &f.hairdo}};
  std::map<std::string, rgb*> colours = {
      {"skin", &f.skin},   {"hair", &f.hair}, {"top", &f.top},   {"legs", &f.legs},
      {"boots", &f.boots}, {"cape", &f.cape}, {"hatc", &f.hatc}, {"beard", &f.beard},
      {"itemc", &f.itemc}, {"belt", &f.belt}, {"eye", &f.eye},   {"apron", &f.apron},
      {"wings", &f.wings}, {"mark", &f.mark}};
  for (auto& [k, v] : o) {
    if (words.count(k))
      *words[k] = v;
    else if (colours.count(k)) {
      if (auto e = colour_of(pal, l, v, *colours[k]); !e.empty()) return e;
    } else
      return fault(l, "unknown figure word " + k);
  }
  f.has_cape = o.count("cape"), f.has_beard = o.count("beard"), f.has_belt = o.count("belt");
  f.has_apron = o.count("apron"), f.has_wings = o.count("wings");
  f.has_mark = o.count("mark");
  static const char* kinds[] = {"human", "quad", "blob", "drop",  "ghost",
                                "jelly", "worm", "bird", "chest", "ship"};
  bool known = false;
  for (const char* k : kinds) known |= f.kind == k;
  return known ? "" : fault(l, "unknown figure kind " + f.kind);
}

} // namespace

std::string make_characters(const art_paths& p, const palette& pal) {
  std::vector<src_line> sheet, looks;
  std::string sprites = p.content + "/sprites.txt", path = p.content + "/art/figures.txt";
  if (auto e = read_source(sprites, sheet); !e.empty()) return e;
  if (auto e = read_source(path, looks); !e.empty()) return e;
  std::map<std::string, figure_look> by_name;
  for (const auto& l : looks) {
    if (l.words.size() < 2 || l.words[0] != "figure")
      return fault(l, "expected: figure NAME key=value...");
    figure_look f;
    if (auto e = look_of(l, pal, f); !e.empty()) return e;
    by_name[l.words[1]] = f;
  }
  image plc = make_image(256, 256);
  for (const auto& l : sheet) {
    int first;
    if (l.words.size() < 2 || !int_of(l.words[0], 0, 248, first) || first % 8)
      return fault(l, "expected: FIRST-PICTURE (a multiple of 8) NAME description");
    auto it = by_name.find(l.words[1]);
    if (it == by_name.end())
      return path + ": no figure " + l.words[1] + " (" + fault(l, "named here") + ")";
    for (int facing = 0; facing < 4; facing++)
      for (int frame = 0; frame < 2; frame++) {
        int n = first + facing * 2 + frame;
        blit(plc, paint_figure(it->second, facing, frame), (n % 16) * 16, (n / 16) * 16, false);
      }
  }
  return write_bmp24(plc, p.resources + "/PLC.bmp");
}
