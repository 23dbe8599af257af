#include "framework/ConsolePause.h"

#include <unistd.h>

#include <iostream>
#include <string>

void pauseConsole() {
    std::cout << "Press Enter to continue . . ." << std::endl;
    if (!isatty(STDIN_FILENO)) return;
    std::string line;
    std::getline(std::cin, line);
}
