// varnelko_make_plan FILE: writes the house plan of floor_plan.h as a JWW
// drawing, for scripts/render-docs.
#include <cstdio>

#include "formats/jww/jww_file.h"
#include "support/floor_plan.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: varnelko_make_plan FILE\n");
    return 2;
  }
  varnelko::JwwDocument doc = varnelko::test::BuildFloorPlan();
  varnelko::FormatError error;
  if (!varnelko::WriteJwwFile(argv[1], doc.header.version, doc, &error)) {
    std::fprintf(stderr, "%s\n", error.Describe().c_str());
    return 1;
  }
  return 0;
}
