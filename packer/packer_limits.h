// Limits of the packer. Every text it composes lives in a fixed buffer of one of
// these sizes; an input that would not fit is refused with a message.
#ifndef PACKER_LIMITS_H
#define PACKER_LIMITS_H

#include "package_layout.h"

// Cabinets in one package (setup files 3 and up).
const int kMaxCabinets = 32;

// A page text after conversion, CR LF line ends counted as two bytes; its buffer
// also holds the terminating NUL.
const unsigned kMaxPageTextLength = 65535;
const unsigned kPageTextSize = kMaxPageTextLength + 1;

// Room kept for the Application Manager's folder, its final backslash included, when
// checking that the install folder's paths fit. The usual folders are
// "C:\Program Files\Microsoft ActiveSync\" (38) and, on 64-bit Windows,
// "C:\Program Files (x86)\Microsoft ActiveSync\" (44); the rest is headroom.
const int kAppManagerFolderReserve = 64;

// The longest path or command line the installation composes, without its NUL.
const int kMaxComposedLength = SETUP_PATH_SIZE - 1;

// Room for the descriptor; eight short lines and the cabinet list.
const unsigned kDescriptorSize = 8192;

#endif
