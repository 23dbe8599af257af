#include "framework/ConsolePause.h"

#include <unistd.h>

#include <iostream>

void showFatalMessage(const std::string& line) {
    if (!isatty(STDIN_FILENO)) {
        std::cerr << line << std::endl;
        return;
    }
    std::cout << line << std::endl;
    std::cout << "Press Enter to continue . . ." << std::endl;
    std::string answer;
    std::getline(std::cin, answer);
}
