#pragma once
// For the README's pictures only: `varnelko --screenshot FOLDER OUTDIR`
// searches FOLDER, lists it, saves the main window and the settings dialog as
// PNG files into OUTDIR and quits. It uses a throw-away ini file.
#include <QString>

namespace varnelko {

int RunScreenshots(const QString& folder, const QString& out_folder);

}  // namespace varnelko
