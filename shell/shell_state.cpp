#include "shell/shell.h"

shell_data shell;

void reset_shell_state() {
  shell = shell_data{};
}
