#include "event/scic.h"

int main(int argc, char** argv) {
  return scic_main(argc, argv);
}
