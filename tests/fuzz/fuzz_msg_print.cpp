// msg_print on any texts: the input cut at its zero bytes into texts, the
// first byte choosing whether the first starts a new report. The store stays
// within its lines and every line within its bytes.
#include "battle/battle.h"
#include "fuzz_common.h"
#include "message/message.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  reset_state();
  reset_battle_state();
  reset_message_state();
  int mode = data[0] & 1 ? 1 : 2;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::size_t at = 0;
  do {
    std::size_t end = text.find('\0', at);
    if (end == std::string::npos) end = text.size();
    std::string one = text.substr(at, end - at);
    char out[MSG_EXPAND_SIZE + 1];
    int len = msg_expand(one.c_str(), out);
    FUZZ_CHECK(len >= 0 && len <= MSG_EXPAND_SIZE && out[len] == 0);
    msg_print(mode, one.c_str());
    mode = 2;
    at = end + 1;
  } while (at < text.size());
  FUZZ_CHECK(msg_window.msg_count >= 0 && msg_window.msg_count <= MSG_LINES);
  FUZZ_CHECK(msg_window.msg_reveal_line >= 0 && msg_window.msg_reveal_line <= MSG_LINES);
  for (auto& line : msg_window.msg_line) FUZZ_CHECK(strnlen(line, MSG_LINE_SIZE) < MSG_LINE_SIZE);
  if (data[0] & 2) msg_print(PRINT_NEW, nullptr);
  return 0;
}
