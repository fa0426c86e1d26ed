#include "shell/shell.h"

shell_data sh;

void reset_shell_state() {
  sh = shell_data{};
}
