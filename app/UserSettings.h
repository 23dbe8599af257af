#pragma once

#include "app/Settings.h"

#include <filesystem>
#include <optional>

/// Where the player's own settings live: "$XDG_CONFIG_HOME/qex/settings.ini", or
/// "$HOME/.config/qex/settings.ini" when XDG_CONFIG_HOME is unset, empty or relative;
/// nowhere without either. The game reads it over the shipped assets/settings.ini (see
/// loadSettings) and never writes anywhere else, so an installed copy leaves its prefix
/// alone. Takes the variables' values (null when unset) so that tests can call it.
std::optional<std::filesystem::path> userSettingsFile(const char* xdgConfigHome,
                                                      const char* home);

/// Writes what the options screen sets into the player's file `file`: [sound]
/// music_volume and effects_volume, [window] render_scale and fullscreen, and [camera]
/// screen_shake, each from `s`. Every other line of the file stays as it was, comments
/// and sections included; a key it lacks goes at the end of its section, or in a new
/// section at the end. The folder is made when missing, and the file is replaced whole
/// (replaceWholeFile).
///
/// False, after one WARNING line naming the file and the reason, when the file cannot be
/// read or written; the game plays on with `s` for the session. Call it when the options
/// screen closes, not on every change, so that a folder that cannot be written gives one
/// line, not one a keypress.
bool saveUserSettings(const std::filesystem::path& file, const Settings& s);
