#pragma once
// The layer's results reach the Qt window as calls queued to the
// application object, which lives as long as the program: a thread that
// outlives a window can still post, and the layer's own guards drop what
// is no longer wanted.
#include "desktop/ui_post.h"

namespace varnelko {

PostToUi QtPost();

}  // namespace varnelko
