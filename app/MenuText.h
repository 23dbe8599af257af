#pragma once

#include "app/MenuFlow.h"
#include "game/Records.h"
#include "hud/MenuView.h"

#include <cstddef>
#include <optional>

/// The words of the screen `flow` shows, laid into `view`: the title with the game's name,
/// each menu's lines with their values ("Music volume  < 30% >"), the best times of each
/// difficulty. Formats into the view's buffers: nothing is allocated.
void describeMenu(const MenuFlow& flow, const BestWinTimes& best, MenuView& view);

/// The item of `flow`'s menu under the point (`x`, `y`) of a window of `width` x `height`
/// pixels; none between lines, or where no menu shows.
std::optional<std::size_t> menuItemAt(const MenuFlow& flow, float x, float y, int width,
                                      int height);
