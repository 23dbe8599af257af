#pragma once

#include <string>

/// Keeps a fatal message readable before the process ends. With a terminal on standard
/// input, the line goes to standard output and the console's "press a key" prompt
/// follows, waiting for Enter. Without one (a desktop launcher, CI, a script) the line
/// goes to standard error and nothing waits for input that cannot come. The caller then
/// ends the process with status 1.
void showFatalMessage(const std::string& line);
