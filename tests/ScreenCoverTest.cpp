#include "app/ScreenCover.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

namespace {

// An eye at the origin looking down -z, a square view 90 degrees across.
const glm::mat4 kView = glm::perspective(glm::radians(90.0f), 1.0f, 0.1f, 100.0f);

std::optional<WindowShare> shareOfBox(const glm::vec3& centre, float half) {
    ScreenCover cover(kView);
    cover.add(glm::translate(glm::mat4(1.0f), centre), glm::vec3(-half), glm::vec3(half));
    return cover.share();
}

}  // namespace

TEST(ScreenCover, BoundsABoxInViewAndClipsItToTheWindow) {
    const std::optional<WindowShare> ahead = shareOfBox({0.0f, 0.0f, -10.0f}, 1.0f);
    ASSERT_TRUE(ahead);
    EXPECT_NEAR(ahead->x + ahead->w * 0.5f, 0.5f, 1e-5f);
    EXPECT_NEAR(ahead->w, 1.0f / 9.0f, 1e-5f);  // the near face, 1 unit out at 9 units away
    const std::optional<WindowShare> upperRight = shareOfBox({9.0f, 9.0f, -10.0f}, 1.0f);
    ASSERT_TRUE(upperRight);  // y runs down from the window's top
    EXPECT_EQ(*upperRight, (WindowShare{upperRight->x, 0.0f, 1.0f - upperRight->x, upperRight->h}));
    EXPECT_FALSE(shareOfBox({30.0f, 0.0f, -10.0f}, 1.0f)) << "beside the view";
    EXPECT_FALSE(ScreenCover(kView).share()) << "no box";
    EXPECT_EQ(shareOfBox({0.0f, 0.0f, 0.5f}, 1.0f), (WindowShare{0.0f, 0.0f, 1.0f, 1.0f}))
        << "round the eye";
}
