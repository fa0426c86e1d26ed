#include "platform/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* open_read_file(const char* path) {
  // Non-blocking, so that opening a FIFO with no writer returns at once;
  // the flag is taken off again once the file is known to be a plain one.
  int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  int flags = ::fcntl(fd, F_GETFL);
  bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flags >= 0 &&
               ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
  std::FILE* f = plain ? ::fdopen(fd, "rb") : nullptr;
  if (!f) ::close(fd);
  return f;
}
