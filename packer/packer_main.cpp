// The packer: writes a setup program for a Pocket PC package from a title, two
// texts and the device cabinets.
#include <windows.h>

#include "command_line.h"
#include "package_inputs.h"
#include "package_writer.h"

// Wide arguments: the title is converted to code page 1252 whatever the desktop's
// own code page is.
int wmain(int argc, wchar_t** argv)
{
    PackerArguments arguments;
    if (!ParseArguments(argc, argv, &arguments))
        return 2;
    if (arguments.help) {
        PrintUsage();
        return 0;
    }
    PackageInputs inputs;
    PackageTexts texts;
    bool packed = PrepareInputs(arguments, &inputs, &texts) && WritePackage(inputs, texts);
    ReleaseInputs(&inputs);
    return packed ? 0 : 1;
}
