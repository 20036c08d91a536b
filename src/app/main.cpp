// Vantrel: a game controller as an H-pattern gear lever.
#include "app/run_vantrel.h"

int main(int argc, char** argv) { return vantrel::RunVantrel(argc, argv); }
