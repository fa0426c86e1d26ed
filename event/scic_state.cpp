#include "event/scic.h"

scic_data scic;

void reset_scic_state() {
  scic = scic_data{};
}

const char* scic_error_name(int code) {
  static const char* const names[] = {
      "EVTEXE_ERROR", "EVTNUM_ERROR", "EVTSET_ERROR", "ELSE_ERROR",    "ENDIF_ERROR",
      "ECHK_ERROR",   "PCHK_ERROR",   "SYSNUM_ERROR", "SYSITEM_ERROR", "ITEM_ERROR",
      "IF_ERROR",     "ANS_ERROR",    "SCI_ERROR",    "EVTNUM1_ERROR", "SOUND_ERROR",
      "MUSIC_ERROR",  "MUSICN_ERROR", "STATUS_ERROR",
  };
  if (code == S_ERROR) return "S_ERROR";
  if (code < EVTEXE_ERROR || code > STATUS_ERROR) return "?";
  return names[code - EVTEXE_ERROR];
}
