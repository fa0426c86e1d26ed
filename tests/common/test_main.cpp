// The main of every test program. CTest runs the tests of one program as
// separate processes, several at once, all in the program's work folder; the
// game reads and writes its data files in the working directory, so each
// process moves into a scratch folder of its own and removes it at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <unistd.h>

namespace {

int remove_entry(const char* path, const struct stat*, int, struct FTW*) {
  return std::remove(path);
}

} // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  char scratch[] = "scratch-XXXXXX";
  bool moved = mkdtemp(scratch) && chdir(scratch) == 0;
  int result = RUN_ALL_TESTS();
  if (moved && chdir("..") == 0) nftw(scratch, remove_entry, 16, FTW_DEPTH | FTW_PHYS);
  return result;
}
