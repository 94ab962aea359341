#pragma once
// The bundled samples besides the house plan (floor_plan.h): drawings a
// drafter recognises, laid out by hand in code.
#include "document/jws_document.h"
#include "document/jww_document.h"

namespace varnelko::test {

// A foundation section at 1:20 on an A4 sheet: lean concrete, footing and
// stem wall filled grey, the sill with its anchor bolt, gravel, ground
// line, dimensions and labels with leaders. Version 600.
JwwDocument BuildFoundationDetail();

// A site plan at 1:200 on an A3 sheet, saved by an old version (351): site
// boundary in chain lines, the building, the road, a north arrow and the
// site's dimensions.
JwwDocument BuildOldSitePlan();

// A figure of a western toilet at 1:50 as one block, the way symbol
// libraries hold their parts. Version 600.
JwsDocument BuildToiletFigure();

}  // namespace varnelko::test
