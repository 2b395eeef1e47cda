// Stands in for the desktop window until it is built.
#include <iostream>

#include "platform/files/device_files.h"
#include "platform/qt/command_line.h"

int main(int argc, char** argv) {
    if (auto exitCode =
            qv::AnswerCommandLine(qv::ParseCommandLine(argc, argv), std::cout, std::cerr)) {
        return *exitCode;
    }
    const qv::DeviceFolders folders = qv::DeviceFolders::ForUser();
    std::cout << "Quorvella\n\n"
                 "The desktop window of Quorvella is not built yet. The program itself runs\n"
                 "today through quorvella-replay, which takes your actions from a script:\n\n"
                 "  build/tools/replay/quorvella-replay --root "
              << folders.dataDir.string()
              << " SCRIPT\n\n"
                 "Your data will live in "
              << folders.dataDir.string()
              << "\n"
                 "and your CSV exports in "
              << folders.documentsDir.string() << ".\n";
    return 0;
}
