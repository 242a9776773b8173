// What the Application Manager needs of a device cabinet's header.
#ifndef CABINET_CHECK_H
#define CABINET_CHECK_H

#include <windows.h>

enum CabinetFault {
    kCabinetOk,
    kCabinetTooShort,      // smaller than the fixed header
    kCabinetNoSignature,   // does not begin with "MSCF"
    kCabinetWrongVersion,  // `major`.`minor` is not 1.3
    kCabinetSizeMismatch,  // the header's total size `declaredSize` is not the file's size
};

struct CabinetHeader {
    BYTE major;
    BYTE minor;
    DWORD declaredSize;
};

const DWORD kCabinetHeaderSize = 36;

CabinetFault CheckCabinet(const BYTE* data, DWORD size, CabinetHeader* header);

#endif
