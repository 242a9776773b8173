#include "cabinet_check.h"

namespace {

DWORD ReadLittleEndian32(const BYTE* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24);
}

}  // namespace

CabinetFault CheckCabinet(const BYTE* data, DWORD size, CabinetHeader* header)
{
    if (size < kCabinetHeaderSize)
        return kCabinetTooShort;
    if (data[0] != 'M' || data[1] != 'S' || data[2] != 'C' || data[3] != 'F')
        return kCabinetNoSignature;
    // Header: signature, reserved, cbCabinet at 8, ..., versionMinor at 24, versionMajor at 25.
    header->declaredSize = ReadLittleEndian32(data + 8);
    header->minor = data[24];
    header->major = data[25];
    if (header->major != 1 || header->minor != 3)
        return kCabinetWrongVersion;
    if (header->declaredSize != size)
        return kCabinetSizeMismatch;
    return kCabinetOk;
}
