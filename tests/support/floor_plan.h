#pragma once
// A small house plan drawn by hand in code: walls, doors and windows as
// blocks, furniture, grid lines, dimensions and room names on named
// layers, at 1:50 on an A3 sheet with its frame and title block. It looks like a drawing a person makes, for the README's
// pictures and for tests that need one.
#include "document/jww_document.h"

namespace varnelko::test {

// Layer group 0 "1F平面" holds layers 0 壁, 1 建具, 2 家具, 3 寸法, 4 文字,
// 5 通り芯 and F 下書き (auxiliary construction lines); group 1 "図枠" the
// sheet's frame.
JwwDocument BuildFloorPlan();

}  // namespace varnelko::test
