// The program's entry: the whole game, from the start screen until Q.
#include "Test.h"

int main(int, char **) {
  qm::Test test;
  // A failed start has already said why on standard error.
  return test.testGame() == 0 ? 0 : 1;
}
