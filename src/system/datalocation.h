#pragma once

#include <QString>

// Finds a data file (catalogue, icon, translation, example) given by its path
// relative to Korvane's folder: first in the working directory, then beside the
// executable, then in the data directory of the installed tree the executable
// belongs to, then in the data directory chosen at build time. Returns the
// path as given when none exists, so that error messages name what was looked for.
QString locateDataFile(const QString& relativePath);
