#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

/// Replaces `file` whole with `bytes`: they go to "<file>.tmp" first, reach the disk, and
/// the temporary file is renamed over `file`, whose folder is then synced too. A power cut
/// or a failure half-way leaves the old file or the new one, never a part. Creates missing
/// folders. On failure returns false with `why` set to the system's reason.
bool replaceFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                 std::string& why);
