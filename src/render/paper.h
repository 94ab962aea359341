#pragma once
// The sheet a drawing is laid out on, and what "fit" frames.
//
// A drawing stores its coordinates as millimetres on paper, whatever the
// scale of its layer groups: the scale only says what real length one
// millimetre on paper stands for. Real drawings show it: an A3 plan drawn
// at 1:100 has its frame at x -210..210 and y -148.5..148.5, a figure of a
// 1800 mm plank at 1:40 is 45 units long, and every text's end point lies
// exactly as far from its start as its characters are long on paper. The
// sheet is centred on the origin.
#include <cstdint>
#include <optional>

#include "render/scene.h"

namespace varnelko::render {

// Paper size codes 0..4 are the ISO sheets A0..A4, landscape. Other codes
// name no sheet the drawings here could confirm: they give nothing, and the
// caller frames the items instead.
std::optional<Extent> SheetOf(int32_t paper_code);

// The smallest box around an item as drawn, texts with their whole box.
Extent BoxOf(const Scene& scene, const SceneItem& item);

// Sets the scene's paper and frame from the paper size code (-1 for a
// figure), and counts the items wholly off the sheet; the print view leaves
// them out. When most items lie off the sheet, the sheet is taken for wrong
// and the items' extent framed instead.
void PlaceOnPaper(Scene& scene, int32_t paper_code, SceneView view);

}  // namespace varnelko::render
