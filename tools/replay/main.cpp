// quorvella-replay [--root DIR] [--host headless|qt] SCRIPT
#include "tools/replay/replay.h"

int main(int argc, char** argv) {
    return qv::replay::ReplayMain(argc, argv);
}
