// Whole files for the tests: read at once, written at once.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The file's bytes; empty when it cannot be read.
inline std::vector<std::uint8_t> read_file(const std::string& path) {
  std::vector<std::uint8_t> out;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::uint8_t buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;)
      out.insert(out.end(), buf, buf + n);
    std::fclose(f);
  }
  return out;
}

// The same bytes as a string.
inline std::string read_text(const std::string& path) {
  std::vector<std::uint8_t> b = read_file(path);
  return std::string(b.begin(), b.end());
}

// Writes n bytes; false when the file cannot be written whole.
inline bool write_file(const std::string& path, const void* data, std::size_t n) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool whole = n == 0 || std::fwrite(data, 1, n, f) == n;
  return std::fclose(f) == 0 && whole;
}

inline bool write_file(const std::string& path, const std::vector<std::uint8_t>& b) {
  return write_file(path, b.data(), b.size());
}
