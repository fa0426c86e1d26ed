#include "platform/surface.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

void surface_create(surface& s, int w, int h) {
  s.w = w;
  s.h = h;
  s.px.assign(static_cast<size_t>(w) * h * 3, 0);
  s.keyed = false;
  s.key = 0;
  surface_touched(s);
}

static bool inside(const surface& s, int x, int y, int w, int h) {
  return w >= 0 && h >= 0 && x >= 0 && y >= 0 && x + w <= s.w && y + h <= s.h;
}

static std::uint8_t* row_at(surface& s, int x, int y) {
  return s.px.data() + (static_cast<size_t>(y) * s.w + x) * 3;
}
static const std::uint8_t* row_at(const surface& s, int x, int y) {
  return s.px.data() + (static_cast<size_t>(y) * s.w + x) * 3;
}

int fill_rect(surface& dst, int x, int y, int w, int h, colorref c) {
  if (!inside(dst, x, y, w, h)) return 1;
  std::uint8_t b = (c >> 16) & 255, g = (c >> 8) & 255, r = c & 255;
  if (w <= 0 || h <= 0) return 0;
  surface_touched(dst);
  // the first row pixel by pixel, the others copied from it
  std::uint8_t* first = row_at(dst, x, y);
  std::size_t row = static_cast<std::size_t>(w) * 3;
  if (b == g && g == r) {
    std::memset(first, b, row);
  } else {
    std::uint8_t* p = first;
    for (int i = 0; i < w; i++, p += 3) p[0] = b, p[1] = g, p[2] = r;
  }
  for (int j = 1; j < h; j++) std::memcpy(row_at(dst, x, y + j), first, row);
  return 0;
}

int copy_rect(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h) {
  if (!inside(dst, dx, dy, w, h) || !inside(src, sx, sy, w, h)) return 1;
  if (w == 0 || h == 0) return 0;
  surface_touched(dst);
  const std::size_t bytes = static_cast<size_t>(w) * 3;
  // whole rows of equal widths are one block (within one surface the rows go
  // one by one, downwards, as they always have)
  if (dx == 0 && sx == 0 && w == dst.w && w == src.w && &dst != &src) {
    std::memcpy(row_at(dst, 0, dy), row_at(src, 0, sy), bytes * static_cast<size_t>(h));
    return 0;
  }
  for (int j = 0; j < h; j++) std::memmove(row_at(dst, dx, dy + j), row_at(src, sx, sy + j), bytes);
  return 0;
}

namespace {

bool is_key(const std::uint8_t* p, std::uint32_t key) {
  return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) == key;
}

// Whether pixel i of a row is the key, reading four bytes at once; the last
// pixel of the surface, with no byte after it, is read byte by byte.
struct key_test {
  const std::uint8_t* row;
  bool last_row;
  int w;
  std::uint32_t key;
  bool operator()(int i) const {
    const std::uint8_t* p = row + 3 * i;
    if (last_row && i == w - 1) return is_key(p, key);
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::little)
      return (v & 0xFFFFFF) == key;
    else
      return is_key(p, key);
  }
};

// Whether a row of n pixels holds the key anywhere. A map's picture rarely
// holds the key at all, so whole rows are looked at 16 pixels (48 bytes) at a
// time where the processor compares 16 bytes at once; the rest pixel by pixel.
bool row_has_key(const std::uint8_t* p, int n, std::uint32_t key) {
  int i = 0;
#if defined(__SSE2__)
  constexpr int GROUP = 16;
  alignas(16) std::uint8_t pattern[3 * GROUP];
  for (int j = 0; j < 3 * GROUP; j++) pattern[j] = key >> 8 * (j % 3) & 255;
  const __m128i k0 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
  const __m128i k1 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 16));
  const __m128i k2 = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern + 32));
  // bit 3 k of the 48 is set where all three bytes of pixel k match
  constexpr std::uint64_t FIRST_BYTES = 0x249249249249ull;
  for (; i + GROUP <= n; i += GROUP) {
    const std::uint8_t* q = p + 3 * i;
    std::uint64_t m0 = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q)), k0)));
    std::uint64_t m1 = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 16)), k1)));
    std::uint64_t m2 = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 32)), k2)));
    std::uint64_t m = m0 | m1 << 16 | m2 << 32;
    if ((m & m >> 1 & m >> 2 & FIRST_BYTES) != 0) return true;
  }
#endif
  for (; i < n; i++)
    if (is_key(p + 3 * i, key)) return true;
  return false;
}

// Looks at every pixel once, after the surface or its key changed.
void make_runs(const surface& s) {
  s.runs.clear();
  s.row_runs.assign(static_cast<size_t>(s.h) + 1, 0);
  for (int y = 0; y < s.h; y++) {
    s.row_runs[y] = s.runs.size();
    if (s.w > 0 && !row_has_key(row_at(s, 0, y), s.w, s.key)) {
      s.runs.push_back({0, static_cast<std::uint32_t>(s.w)});
      continue;
    }
    const key_test keyed{row_at(s, 0, y), y == s.h - 1, s.w, s.key};
    for (int i = 0; i < s.w;) {
      while (i < s.w && keyed(i)) i++;
      int start = i;
      while (i < s.w && !keyed(i)) i++;
      if (i > start)
        s.runs.push_back(
            {static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(i - start)});
    }
  }
  s.row_runs[s.h] = s.runs.size();
  s.runs_version = s.version;
  s.runs_key = s.key;
  s.runs_made = true;
}

const opaque_run* first_run_after(const opaque_run* from, const opaque_run* to, int x) {
  return std::upper_bound(from, to, static_cast<std::uint32_t>(x),
                          [](std::uint32_t v, const opaque_run& r) { return v < r.x + r.len; });
}

// A copy within one surface looks at each pixel as the copy reaches it, since
// earlier rows may already have changed it.
void copy_keyed_within(surface& s, int dx, int dy, int sx, int sy, int w, int h) {
  for (int j = 0; j < h; j++) {
    const std::uint8_t* from = row_at(s, sx, sy + j);
    std::uint8_t* to = row_at(s, dx, dy + j);
    for (int i = 0; i < w;) {
      while (i < w && is_key(from + 3 * i, s.key)) i++;
      int start = i;
      while (i < w && !is_key(from + 3 * i, s.key)) i++;
      if (i > start)
        std::memmove(to + 3 * start, from + 3 * start, static_cast<size_t>(i - start) * 3);
    }
  }
}

} // namespace

// The runs of src's row sy + j from column sx on, as pointers [first, last).
static const opaque_run* row_runs_from(const surface& src, int sx, int y, const opaque_run** last) {
  const opaque_run* runs = src.runs.data();
  *last = runs + src.row_runs[y + 1];
  return first_run_after(runs + src.row_runs[y], *last, sx);
}

// Copies the part of each run within sx .. end - 1 of the row to d (pixel sx at d).
static void copy_runs(std::uint8_t* d, const std::uint8_t* s, const opaque_run* r,
                      const opaque_run* last, int sx, int end) {
  for (; r != last && static_cast<int>(r->x) < end; ++r) {
    int from = std::max(static_cast<int>(r->x), sx) - sx;
    int to = std::min(static_cast<int>(r->x + r->len), end) - sx;
    std::memcpy(d + 3 * from, s + 3 * from, static_cast<size_t>(to - from) * 3);
  }
}

static void make_runs_if_stale(const surface& src) {
  if (!src.runs_made || src.runs_version != src.version || src.runs_key != src.key) make_runs(src);
}

// Row by row, the part of each opaque run of the source inside the rectangle
// is copied whole.
int copy_keyed(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h) {
  if (!src.keyed) return copy_rect(dst, dx, dy, src, sx, sy, w, h);
  if (!inside(dst, dx, dy, w, h) || !inside(src, sx, sy, w, h)) return 1;
  if (w == 0 || h == 0) return 0;
  surface_touched(dst);
  if (&dst == &src) {
    copy_keyed_within(dst, dx, dy, sx, sy, w, h);
    return 0;
  }
  make_runs_if_stale(src);
  for (int j = 0; j < h; j++) {
    const opaque_run* last;
    const opaque_run* r = row_runs_from(src, sx, sy + j, &last);
    copy_runs(row_at(dst, dx, dy + j), row_at(src, sx, sy + j), r, last, sx, sx + w);
  }
  return 0;
}

int copy_keyed_over(surface& dst, int dx, int dy, const surface& under, int ux, int uy,
                    const surface& src, int sx, int sy, int w, int h) {
  bool one_pass = src.keyed && &dst != &src && &dst != &under && inside(dst, dx, dy, w, h) &&
                  inside(under, ux, uy, w, h) && inside(src, sx, sy, w, h) && w > 0 && h > 0;
  if (!one_pass) {
    copy_rect(dst, dx, dy, under, ux, uy, w, h);
    return copy_keyed(dst, dx, dy, src, sx, sy, w, h);
  }
  make_runs_if_stale(src);
  surface_touched(dst);
  const std::size_t bytes = static_cast<std::size_t>(w) * 3;
  for (int j = 0; j < h; j++) {
    const opaque_run* last;
    const opaque_run* r = row_runs_from(src, sx, sy + j, &last);
    std::uint8_t* d = row_at(dst, dx, dy + j);
    const std::uint8_t* s = row_at(src, sx, sy + j);
    bool covered =
        r != last && static_cast<int>(r->x) <= sx && static_cast<int>(r->x + r->len) >= sx + w;
    if (covered) {
      std::memcpy(d, s, bytes);
      continue;
    }
    std::memcpy(d, row_at(under, ux, uy + j), bytes);
    copy_runs(d, s, r, last, sx, sx + w);
  }
  return 0;
}
