#include "framework/ShaderLibrary.h"

#include <gtest/gtest.h>

TEST(ShaderLibrary, HoldsExactlyTheElevenTechniques) {
    const char* const names[] = {"color",      "cookTorrance",    "environmentMap",
                                 "pbr",        "phongGouraud",    "phongGouraudBonus",
                                 "phongPhong", "phongPhongBonus", "specularMap",
                                 "texture",    "textureBonus"};
    EXPECT_EQ(shaderLibrary.size(), 11u);
    for (const char* name : names) EXPECT_EQ(shaderLibrary.count(name), 1u) << name;
}

TEST(ShaderLibrary, OtherNamesAreAbsent) {
    for (const char* name : {"Pbr", "phong", "textures", "", "particle"})
        EXPECT_EQ(shaderLibrary.find(name), shaderLibrary.end()) << name;
}
