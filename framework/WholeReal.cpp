#include "framework/WholeReal.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

std::optional<double> wholeReal(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(value)) return std::nullopt;
    return value;
}
