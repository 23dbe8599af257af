#include "game/NameHash.h"
#include "game/ObjectNames.h"

#include <gtest/gtest.h>

#include <set>

// The switch labels are computed at compile time.
static_assert(nameHash("main") == 0x7C72542Eu);
static_assert(nameHash("boss") == 0x7C794B48u);

TEST(NameHash, EmptyNameIsTheSeed) { EXPECT_EQ(nameHash(""), 5381u); }

TEST(NameHash, WalksTheBytesFromLastToFirst) {
    // One byte: (5381 * 33) ^ 'a'. Two bytes: the last byte is mixed in first.
    EXPECT_EQ(nameHash("a"), (5381u * 33u) ^ 'a');
    EXPECT_EQ(nameHash("ab"), (((5381u * 33u) ^ 'b') * 33u) ^ 'a');
    EXPECT_NE(nameHash("ab"), nameHash("ba"));
}

TEST(NameHash, EveryRuleNameHasItsOwnHash) {
    const std::string_view names[] = {
        kPlayerName,    kSensorName,    kBossName,     kShieldName,        kPrimaryShotName,
        kHeavyShotName, kBossShotName,  kDownWallName, kUpWallName,        kLeftWallName,
        kRightWallName, kFrontWallName, kBackWallName, kNewProjectileName, ""};
    std::set<std::uint32_t> hashes;
    for (std::string_view name : names) hashes.insert(nameHash(name));
    EXPECT_EQ(hashes.size(), std::size(names));
}

TEST(NameHash, PairHashDependsOnOrder) {
    EXPECT_NE(namePairHash(kBossName, kPrimaryShotName), namePairHash(kPrimaryShotName, kBossName));
    EXPECT_EQ(namePairHash(kBossName, kPrimaryShotName),
              namePairHash(nameHash(kBossName), nameHash(kPrimaryShotName)));
}
