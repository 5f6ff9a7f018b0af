#pragma once

#include <QString>

// Finds a data file (catalogue, icon, translation, example) given by its path
// relative to Korvane's folder: first in the working directory, then beside the
// executable, then in the installed data directory. Returns the path as given
// when none exists, so that error messages name what was looked for.
QString locateDataFile(const QString& relativePath);
