#pragma once

/// Keeps a fatal message readable before the process ends: prints the console's
/// "press a key" prompt and, when standard input is a terminal, waits for Enter.
/// Without a terminal (CI, scripts, a desktop launcher) it returns at once so that
/// nothing ever hangs on input that cannot come.
void pauseConsole();
