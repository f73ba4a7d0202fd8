#pragma once

#include <QString>

namespace kelvary {

// The folder of the application's own files (the export scripts in "Scripts"):
// "<folder of the executable>/../share/kelvary", which is where an installation puts them and
// where the build copies them next to build/bin. Empty before a QCoreApplication exists.
QString resourceDirectory();

} // namespace kelvary
