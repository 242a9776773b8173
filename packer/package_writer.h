// Writing the setup program: a copy of the stub with the package's resources.
#ifndef PACKAGE_WRITER_H
#define PACKAGE_WRITER_H

#include "package_inputs.h"

// Writes the setup program to a temporary file beside the output, adds the package's
// resources (types 100-103, neutral language, code page 1252) and only then moves it
// into place. False, after a message, when anything fails; the temporary file is
// deleted and an existing output file is left as it was.
bool WritePackage(const PackageInputs& inputs, const PackageTexts& texts);

#endif
