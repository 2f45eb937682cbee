#include "app/Startup.h"

int main(int argc, char** argv) {
  return morvin::runProgram(argc, argv);
}
