#pragma once

#include <string_view>

// The names the contact rules know. Any other name (the boss's guide, a crash-pit box, a
// projectile not yet given its kind) matches no rule.
inline constexpr std::string_view kPlayerName = "main";
inline constexpr std::string_view kSensorName = "goalPost";  ///< the player's wall sensor
inline constexpr std::string_view kBossName = "boss";
inline constexpr std::string_view kShieldName = "shield";
inline constexpr std::string_view kPrimaryShotName = "pProjectile";
inline constexpr std::string_view kHeavyShotName = "sProjectile";
inline constexpr std::string_view kBossShotName = "bProjectile";  ///< boss shots and missiles
inline constexpr std::string_view kNewProjectileName = "projectile";

inline constexpr std::string_view kDownWallName = "downWall";
inline constexpr std::string_view kUpWallName = "upWall";
inline constexpr std::string_view kLeftWallName = "leftWall";
inline constexpr std::string_view kRightWallName = "rightWall";
inline constexpr std::string_view kFrontWallName = "frontWall";
inline constexpr std::string_view kBackWallName = "backWall";
