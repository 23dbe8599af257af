#pragma once

#include <filesystem>
#include <string>
#include <system_error>

/// Reads all of `file` into `text`. The error is that of the failing call (a missing
/// file gives std::errc::no_such_file_or_directory, a folder std::errc::is_a_directory);
/// `text` is left empty on failure.
std::error_code readWholeFile(const std::filesystem::path& file, std::string& text);

/// Replaces `file` with `text` so that a reader, a crash or a power cut finds either the
/// old file or the new one whole, never a mix or an empty file. Creates the file's
/// folder when missing; writes a uniquely named temporary file beside it (so two writers
/// never share one), flushes it to the disk, renames it over `file` and flushes the
/// folder. The error is that of the failing call, taken before any clean-up; a failure
/// leaves `file` as it was and no temporary file behind. Settings, records and replays
/// are written through this.
std::error_code replaceWholeFile(const std::filesystem::path& file, const std::string& text);
