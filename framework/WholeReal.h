#pragma once

#include <optional>
#include <string>

/// `text` as a finite number when the whole of it is one: "12px" and "nan" are none.
/// The settings and the records files read their numbers through this.
std::optional<double> wholeReal(const std::string& text);
