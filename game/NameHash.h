#pragma once

#include <cstdint>
#include <string_view>

/// The 32-bit hash the contact rules recognise object names by: start at 5381, then for
/// every byte from the last to the first h = (h * 33) XOR byte, modulo 2^32.
/// constexpr, so that the cases of a switch can be written as the hashes of the names.
constexpr std::uint32_t nameHash(std::string_view name) {
    std::uint32_t h = 5381u;
    for (std::size_t i = name.size(); i > 0; --i)
        h = (h * 33u) ^ static_cast<unsigned char>(name[i - 1]);
    return h;
}

/// One switch value for an ordered pair of names: the rules depend on which body comes first.
constexpr std::uint64_t namePairHash(std::uint32_t first, std::uint32_t second) {
    return (static_cast<std::uint64_t>(first) << 32) | second;
}

constexpr std::uint64_t namePairHash(std::string_view first, std::string_view second) {
    return namePairHash(nameHash(first), nameHash(second));
}
