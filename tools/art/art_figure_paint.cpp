#include "tools/art/art_figure_paint.h"

#include <cmath>

namespace {

void rect(image& im, int x, int y, int w, int h, rgb c) {
  for (int j = 0; j < h; j++)
    for (int i = 0; i < w; i++) set_px(im, x + i, y + j, c);
}

// A lit oval: lighter toward the top-left, darker toward the bottom-right.
void oval(image& im, double cx, double cy, double rx, double ry, rgb c) {
  for (int y = static_cast<int>(cy - ry); y <= cy + ry; y++)
    for (int x = static_cast<int>(cx - rx); x <= cx + rx; x++) {
      double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
      if (nx * nx + ny * ny > 1.0) continue;
      double l = -0.6 * nx - 0.8 * ny;
      set_px(im, x, y, l > 0.55 ? shade(c, 30) : l < -0.45 ? shade(c, -28) : c);
    }
}

void outline(image& im) {
  fill_pinholes(im);
  image o = im;
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) {
      if (!(get_px(im, x, y) == CLEAR)) continue;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        if (!(get_px(im, x + dx, y + dy) == CLEAR) && x + dx >= 0 && y + dy >= 0 && x + dx < 16 &&
            y + dy < 16)
          set_px(o, x, y, INK);
    }
  im = o;
  fill_pinholes(im);
}

// Shades a column band: the right-hand third of a part is in shadow.
void body_rect(image& im, int x, int y, int w, int h, rgb c) {
  rect(im, x, y, w, h, c);
  rect(im, x + w - std::max(1, w / 3), y, std::max(1, w / 3), h, shade(c, -22));
  rect(im, x, y, w, 1, shade(c, 18));
}

void hat_front(image& im, const figure_look& f, int dy, bool back) {
  rgb c = f.hatc;
  if (f.hat == "helmet") {
    rect(im, 4, 0 + dy, 8, 4, c), rect(im, 4, 0 + dy, 8, 1, shade(c, 35));
    if (!back) rect(im, 5, 3 + dy, 6, 1, shade(c, -30));
  } else if (f.hat == "crown") {
    rect(im, 5, 1 + dy, 6, 1, c);
    for (int x : {5, 7, 8, 10}) set_px(im, x, 0 + dy, shade(c, 25));
    set_px(im, 7, 1 + dy, {220, 40, 60});
  } else if (f.hat == "hood") {
    rect(im, 4, 0 + dy, 8, 3, c), rect(im, 4, 3 + dy, 1, 5, c), rect(im, 11, 3 + dy, 1, 5, c);
    if (back) rect(im, 4, 0 + dy, 8, 8, c);
  } else if (f.hat == "pointed") {
    rect(im, 3, 3 + dy, 10, 1, c), rect(im, 5, 1 + dy, 6, 2, c), rect(im, 6, 0 + dy, 3, 1, c);
    set_px(im, 9, 0 + dy, shade(c, 20));
  } else if (f.hat == "cap") {
    rect(im, 5, 1 + dy, 6, 2, c), rect(im, 4, 3 + dy, 8, 1, shade(c, -20));
  } else if (f.hat == "halo") {
    rect(im, 5, 0 + dy, 6, 1, c), set_px(im, 6, 0 + dy, shade(c, 40));
  } else if (f.hat == "horns") {
    for (int y = 0; y < 3; y++)
      set_px(im, 4 - (y == 0), y + dy, c), set_px(im, 11 + (y == 0), y + dy, c);
  }
}

void item_at(image& im, const figure_look& f, int x, int dy) {
  rgb c = f.itemc;
  if (f.item == "staff")
    rect(im, x, 3 + dy, 1, 12 - dy, c), oval(im, x + 0.5, 3 + dy, 1.5, 1.5, shade(c, 30));
  else if (f.item == "spear")
    rect(im, x, 1 + dy, 1, 14 - dy, c), rect(im, x, 0 + dy, 1, 2, {220, 224, 232});
  else if (f.item == "sword")
    rect(im, x, 8 + dy, 1, 6, {214, 220, 232}), rect(im, x - 1, 12 + dy, 3, 1, c);
  else if (f.item == "book")
    rect(im, x - 1, 10 + dy, 3, 3, c);
}

// Long hair falls to the shoulders beside the face and down the back; a bun
// sits on the crown.
void hairdo_front(image& im, const figure_look& f, int dy, bool back) {
  if (f.hairdo == "long") {
    rect(im, 4, 3 + dy, 1, 6, f.hair), rect(im, 11, 3 + dy, 1, 6, f.hair);
    if (back) rect(im, 5, 7 + dy, 6, 3, f.hair), rect(im, 5, 10 + dy, 6, 1, shade(f.hair, -20));
  } else if (f.hairdo == "bun") {
    oval(im, 8, 1 + dy, 2, 1.5, f.hair);
  }
}

void hairdo_side(image& im, const figure_look& f, int dy) {
  if (f.hairdo == "long")
    rect(im, 9, 3 + dy, 3, 7, f.hair), rect(im, 11, 9 + dy, 1, 1, shade(f.hair, -20));
  else if (f.hairdo == "bun")
    oval(im, 11, 2.5 + dy, 1.6, 1.6, f.hair);
}

// Wings stand out behind the shoulders and beat with the walking frames.
void wings_behind(image& im, const figure_look& f, int frame, bool side) {
  if (!f.has_wings) return;
  int up = frame ? 1 : 0;
  if (side) {
    rect(im, 10, 5 - up, 4, 5, f.wings), rect(im, 12, 4 - up, 2, 2, shade(f.wings, 20));
    return;
  }
  for (int x : {1, 12})
    rect(im, x, 6 - up, 3, 5, f.wings), rect(im, x, 5 - up, 3, 1, shade(f.wings, 20));
}

void legs_front(image& im, const figure_look& f, int frame, int y0) {
  bool robe = f.body == "robe";
  for (int side = 0; side < 2; side++) {
    int x = side ? 9 : 5, lift = (side == frame) ? 1 : 0;
    if (!robe) body_rect(im, x, y0, 2, 15 - y0 - lift, f.legs);
    rect(im, x, 15 - lift, 2, 1, f.boots);
  }
}

void human_front(image& im, const figure_look& f, int frame, bool back) {
  int dy = f.body == "child" ? 3 : 0;
  bool robe = f.body == "robe", stout = f.body == "stout";
  wings_behind(im, f, frame, false);
  if (f.has_cape && back) rect(im, 3, 8 + dy, 10, 6 - dy / 2, f.cape);
  if (f.has_cape && !back) rect(im, 3, 8 + dy, 10, 4, shade(f.cape, -25));
  // body and arms
  int bw = stout ? 8 : 6, bx = 8 - bw / 2;
  body_rect(im, bx, 8 + dy, bw, robe ? 7 - dy : 5 - dy / 2, f.top);
  if (robe) rect(im, bx - 1, 12 + dy / 2, bw + 2, 3 - dy / 2, shade(f.top, -10));
  if (f.has_belt) rect(im, bx, 11, bw, 1, f.belt);
  if (f.has_apron && !back) rect(im, 6, 10 + dy, 4, 4 - dy / 2, f.apron);
  if (f.has_apron && back) rect(im, 7, 11, 2, 1, f.apron);
  if (f.has_mark && !back) rect(im, 7, 9 + dy, 1, 3, f.mark), rect(im, 6, 10 + dy, 3, 1, f.mark);
  int sw = frame ? 1 : 0;
  body_rect(im, bx - 1, 8 + dy, 1, 3, f.top), body_rect(im, bx + bw, 8 + dy, 1, 3, f.top);
  set_px(im, bx - 1, 11 + dy - sw, f.skin), set_px(im, bx + bw, 10 + dy + sw, f.skin);
  if (f.has_cape && back) rect(im, 4, 9 + dy, 8, 5 - dy / 2, f.cape);
  legs_front(im, f, frame, 13 + (dy ? 0 : 0));
  // head
  oval(im, 8, 4.5 + dy, 3.4, 3.8, back ? f.hair : f.skin);
  if (!back) {
    rect(im, 5, 1 + dy, 6, 2, f.hair), set_px(im, 5, 3 + dy, f.hair),
        set_px(im, 10, 3 + dy, f.hair);
    set_px(im, 6, 5 + dy, f.eye), set_px(im, 9, 5 + dy, f.eye);
    if (f.has_beard) rect(im, 6, 6 + dy, 4, 3, f.beard), set_px(im, 7, 9 + dy, f.beard);
  }
  hairdo_front(im, f, dy, back);
  if (f.hat == "bald") rect(im, 5, 1 + dy, 6, 2, f.skin);
  hat_front(im, f, dy, back);
  item_at(im, f, back ? 3 : 12, dy);
}

void human_side(image& im, const figure_look& f, int frame) {
  int dy = f.body == "child" ? 3 : 0;
  bool robe = f.body == "robe";
  wings_behind(im, f, frame, true);
  if (f.has_cape) rect(im, 9, 8 + dy, 3, 6 - dy / 2, f.cape);
  // legs: striding in frame 0, together in frame 1
  if (!robe) {
    if (frame == 0)
      body_rect(im, 5, 13, 2, 2, f.legs), body_rect(im, 9, 13, 2, 2, shade(f.legs, -15));
    else
      body_rect(im, 7, 13, 2, 2, f.legs);
  }
  if (frame == 0)
    rect(im, 4, 15, 3, 1, f.boots), rect(im, 9, 15, 3, 1, shade(f.boots, -15));
  else
    rect(im, 6, 15, 3, 1, f.boots);
  body_rect(im, 6, 8 + dy, 5, robe ? 7 - dy : 5 - dy / 2, f.top);
  if (robe) rect(im, 5, 12 + dy / 2, 7, 3 - dy / 2, shade(f.top, -10));
  if (f.has_belt) rect(im, 6, 11, 5, 1, f.belt);
  if (f.has_apron) rect(im, 5, 10 + dy, 2, 4 - dy / 2, f.apron);
  if (f.has_mark) rect(im, 6, 9 + dy, 1, 3, f.mark), rect(im, 5, 10 + dy, 2, 1, f.mark);
  int hx = frame ? 9 : 7;
  rect(im, 8, 9 + dy, 1, 3, shade(f.top, -30)), set_px(im, hx, 12 + dy, f.skin);
  oval(im, 8, 4.5 + dy, 3.4, 3.8, f.skin);
  rect(im, 6, 1 + dy, 5, 2, f.hair), rect(im, 8, 3 + dy, 3, 4, f.hair),
      set_px(im, 5, 2 + dy, f.hair);
  hairdo_side(im, f, dy);
  set_px(im, 6, 5 + dy, f.eye);
  if (f.has_beard) rect(im, 5, 6 + dy, 3, 3, f.beard);
  if (f.hat == "bald") rect(im, 6, 1 + dy, 5, 2, f.skin);
  hat_front(im, f, dy, false);
  item_at(im, f, 4, dy);
}

void quad(image& im, const figure_look& f, int facing, int frame) {
  rgb c = f.top, belly = f.legs;
  if (facing == 1) {
    oval(im, 9, 10, 5, 3, c), rect(im, 6, 11, 6, 1, belly);
    int a = frame ? 1 : 0;
    for (int x : {5 + a, 8 - a, 10 + a, 13 - a}) rect(im, x, 12, 1, 4, shade(c, -15));
    oval(im, 4, 7, 3, 2.6, c), rect(im, 1, 8, 2, 2, c), set_px(im, 1, 8, f.eye);
    rect(im, 4, 3, 1, 2, c), rect(im, 6, 4, 1, 1, c), set_px(im, 3, 6, f.eye);
    rect(im, 14, 6 + frame, 1, 4, c);
    if (f.has_cape) rect(im, 7, 5, 5, 3, f.cape); // wings
  } else {
    bool back = facing == 3;
    oval(im, 8, 11, 4.5, 3.5, c);
    for (int x : {5, 10}) rect(im, x, 13, 2, 3 - (frame == (x > 8)), shade(c, -15));
    if (back) rect(im, 7, 5 + frame, 2, 4, c);
    oval(im, 8, back ? 9 : 7, 3.5, 3, c);
    rect(im, 4, 3, 2, 3, c), rect(im, 10, 3, 2, 3, c);
    if (!back) set_px(im, 6, 7, f.eye), set_px(im, 9, 7, f.eye), rect(im, 7, 9, 2, 1, belly);
    if (f.has_cape) rect(im, 1, 7, 3, 4, f.cape), rect(im, 12, 7, 3, 4, f.cape);
  }
}

void blob(image& im, const figure_look& f, int facing, int frame) {
  double squash = frame ? 0.8 : 0.0;
  if (f.kind == "drop") {
    for (int y = 2; y < 8; y++) rect(im, 8 - (y - 2) / 2, y, 1 + (y - 2), 1, f.top);
  }
  oval(im, 8, 11 - squash / 2, 6 + squash, 4.6 - squash, f.top);
  if (facing == 3) return;
  int ex = facing == 1 ? -2 : facing == 2 ? 2 : 0;
  set_px(im, 6 + ex, 10, f.eye), set_px(im, 10 + ex, 10, f.eye);
  set_px(im, 5, 8, shade(f.top, 60));
}

void ghost(image& im, const figure_look& f, int facing, int frame) {
  oval(im, 8, 6, 5, 5, f.top), rect(im, 3, 6, 11, 6, f.top);
  for (int x = 3; x < 14; x++)
    if (((x + frame) / 2) % 2 == 0) rect(im, x, 12, 1, 2, shade(f.top, -15));
  rect(im, 12, 6, 2, 6, shade(f.top, -25));
  if (facing == 3) return;
  int ex = facing == 1 ? -2 : facing == 2 ? 2 : 0;
  rect(im, 6 + ex, 5, 1, 2, f.eye), rect(im, 9 + ex, 5, 1, 2, f.eye),
      rect(im, 7 + ex, 8, 2, 1, f.eye);
}

// A jellyfish: a bell with trailing tentacles that sway with the frames.
void jelly(image& im, const figure_look& f, int facing, int frame) {
  oval(im, 8, 6 + frame, 5.5, 4.5, f.top);
  rect(im, 3, 8 + frame, 11, 1, shade(f.top, -20));
  for (int x = 4; x <= 12; x += 2)
    for (int y = 9 + frame; y < 15; y++)
      set_px(im, x + ((y + x / 2 + frame) / 2) % 2, y, shade(f.top, -10));
  if (facing == 3) return;
  int ex = facing == 1 ? -2 : 0;
  set_px(im, 6 + ex, 6 + frame, f.eye), set_px(im, 10 + ex, 6 + frame, f.eye);
}

// A worm rearing from a mound of its ground, its open mouth toward the viewer.
void worm(image& im, const figure_look& f, int facing, int frame) {
  rgb c = f.top;
  double sway = frame ? 1 : -1;
  oval(im, 8, 14, 6.5, 2, f.legs);
  oval(im, 8, 12, 3.5, 2.2, c);
  oval(im, 8 + sway / 2, 9, 3.2, 2.2, shade(c, -10));
  oval(im, 8 + sway, 6, 3, 2.3, c);
  oval(im, 8 + sway, 3, 3, 2.5, shade(c, 12));
  int hx = 8 + static_cast<int>(sway);
  rgb maw{70, 10, 20}, tooth{240, 236, 220};
  if (facing == 0)
    rect(im, hx - 2, 2, 4, 3, maw), set_px(im, hx - 2, 2, tooth), set_px(im, hx + 1, 2, tooth),
        set_px(im, hx - 1, 4, tooth);
  else if (facing == 1)
    rect(im, hx - 3, 2, 2, 3, maw), set_px(im, hx - 3, 2, tooth);
}

void bird(image& im, const figure_look& f, int facing, int frame) {
  oval(im, 8, 9, 3.5, 3, f.top);
  int wy = frame ? 5 : 9;
  if (facing == 1 || facing == 2) {
    rect(im, 7, wy, 4, 2, shade(f.top, -15)), oval(im, 5, 6, 2.2, 2.2, f.top);
    rect(im, 2, 6, 1, 1, f.itemc), set_px(im, 5, 5, f.eye), rect(im, 11, 9, 3, 1, f.top);
  } else {
    rect(im, 2, wy, 3, 2, shade(f.top, -15)), rect(im, 11, wy, 3, 2, shade(f.top, -15));
    oval(im, 8, 5.5, 2.5, 2.3, f.top);
    if (facing == 0) set_px(im, 7, 5, f.eye), set_px(im, 9, 5, f.eye), set_px(im, 8, 7, f.itemc);
  }
  rect(im, 7, 12, 1, 2, f.itemc), rect(im, 9, 12, 1, 2, f.itemc);
}

void chest(image& im, const figure_look& f, int, int frame) {
  rgb wood = f.top, band = f.itemc;
  rect(im, 2, 7, 12, 8, wood), rect(im, 2, 7, 12, 1, shade(wood, 25)),
      rect(im, 11, 8, 3, 7, shade(wood, -20));
  int lid = frame ? 2 : 4;
  rect(im, 2, lid, 12, 3, shade(wood, 10)), rect(im, 2, lid, 12, 1, shade(wood, 35));
  if (frame) {
    rect(im, 3, 5, 10, 2, {120, 20, 30});
    for (int x = 3; x < 13; x += 2)
      set_px(im, x, 5, {240, 240, 230}), set_px(im, x + 1, 6, {240, 240, 230});
  }
  rect(im, 4, 7, 1, 8, band), rect(im, 11, 7, 1, 8, band), rect(im, 7, 8, 2, 2, {230, 200, 80});
}

void ship(image& im, const figure_look& f, int facing, int frame) {
  rgb hull = f.top, sail = f.cape, sea{90, 150, 220};
  int bob = frame;
  if (facing == 1 || facing == 2) {
    for (int y = 10; y < 14; y++)
      rect(im, 1 + (y - 10), y + bob - 1, 14 - 2 * (y - 10), 1, y == 10 ? shade(hull, 25) : hull);
    rect(im, 7, 1 + bob, 1, 10, f.itemc);
    for (int y = 2; y < 9; y++)
      rect(im, 3 + (8 - y) / 3, y + bob, 4 - (8 - y) / 3 + (y > 4), 1, sail);
    rect(im, 8, 3 + bob, 4, 5, shade(sail, -12));
    rect(im, 1, 14, 14, 1, sea), set_px(im, 3 + 8 * frame, 15, sea);
  } else {
    oval(im, 8, 10 + bob, 4, 4, hull);
    rect(im, 8, 1 + bob, 1, 10, f.itemc), rect(im, 4, 3 + bob, 8, 6, sail);
    rect(im, 4, 3 + bob, 8, 1, shade(sail, 20)), rect(im, 10, 4 + bob, 2, 5, shade(sail, -15));
    rect(im, 3, 15, 10, 1, sea);
  }
}

} // namespace

image paint_figure(const figure_look& f, int facing, int frame) {
  image im = make_image(16, 16);
  int view = facing == 2 ? 1 : facing;
  if (f.kind == "human") {
    if (view == 1)
      human_side(im, f, frame);
    else
      human_front(im, f, frame, view == 3);
  } else if (f.kind == "quad")
    quad(im, f, view, frame);
  else if (f.kind == "blob" || f.kind == "drop")
    blob(im, f, view, frame);
  else if (f.kind == "ghost")
    ghost(im, f, view, frame);
  else if (f.kind == "jelly")
    jelly(im, f, view, frame);
  else if (f.kind == "worm")
    worm(im, f, view, frame);
  else if (f.kind == "bird")
    bird(im, f, view, frame);
  else if (f.kind == "chest")
    chest(im, f, view, frame);
  else if (f.kind == "ship")
    ship(im, f, view, frame);
  outline(im);
  if (facing == 2) {
    image m = im;
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) set_px(m, 15 - x, y, get_px(im, x, y));
    im = m;
  }
  return im;
}
