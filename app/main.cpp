#include "app/startup.h"

int main(int argc, char** argv) { return rv::viewerMain(argc, argv); }
