#include "pe_resources.h"

namespace {

DWORD Read16(const BYTE* p) { return p[0] | (p[1] << 8); }
DWORD Read32(const BYTE* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<DWORD>(p[3]) << 24); }

bool Inside(DWORD size, DWORD offset, DWORD length)
{
    return offset <= size && length <= size - offset;
}

// Where the resource directory lies in the file: its file offset and its length.
bool FindResourceDirectory(const BYTE* image, DWORD size, DWORD* start, DWORD* length)
{
    if (!Inside(size, 0, 0x40) || image[0] != 'M' || image[1] != 'Z')
        return false;
    DWORD pe = Read32(image + 0x3C);
    if (!Inside(size, pe, 24) || Read32(image + pe) != 0x00004550)
        return false;
    DWORD sections = Read16(image + pe + 6);
    DWORD optionalSize = Read16(image + pe + 20);
    DWORD optional = pe + 24;
    if (!Inside(size, optional, optionalSize) || optionalSize < 2)
        return false;
    DWORD magic = Read16(image + optional);
    DWORD countField = magic == 0x20B ? 108 : 92;
    DWORD directories = magic == 0x20B ? 112 : 96;
    if (optionalSize < directories + 3 * 8 || Read32(image + optional + countField) < 3)
        return false;
    DWORD rva = Read32(image + optional + directories + 2 * 8);
    DWORD rvaSize = Read32(image + optional + directories + 2 * 8 + 4);
    if (rva == 0 || rvaSize == 0)
        return false;
    DWORD table = optional + optionalSize;
    if (!Inside(size, table, sections * 40))
        return false;
    for (DWORD i = 0; i < sections; ++i) {
        const BYTE* section = image + table + 40 * i;
        DWORD virtualAddress = Read32(section + 12);
        DWORD rawSize = Read32(section + 16);
        DWORD rawPointer = Read32(section + 20);
        if (rva >= virtualAddress && rva - virtualAddress < rawSize) {
            DWORD offset = rawPointer + (rva - virtualAddress);
            DWORD available = rawSize - (rva - virtualAddress);
            *start = offset;
            *length = rvaSize < available ? rvaSize : available;
            return Inside(size, *start, *length);
        }
    }
    return false;
}

// One level of the directory at `offset` (relative to the directory's start): its
// entries' count and first entry, bounds checked.
bool ReadLevel(const BYTE* base, DWORD length, DWORD offset, DWORD* count, DWORD* first)
{
    if (!Inside(length, offset, 16))
        return false;
    *count = Read16(base + offset + 12) + Read16(base + offset + 14);
    *first = offset + 16;
    return Inside(length, *first, *count * 8);
}

int EntryId(const BYTE* entry)
{
    DWORD name = Read32(entry);
    return (name & 0x80000000) ? -1 : static_cast<int>(name & 0xFFFF);
}

// A subdirectory's offset; false for an entry that is not one.
bool Subdirectory(const BYTE* entry, DWORD* offset)
{
    DWORD target = Read32(entry + 4);
    *offset = target & 0x7FFFFFFF;
    return (target & 0x80000000) != 0;
}

struct TypeRange {
    int first;
    int last;
    bool found;
    DWORD codePage;
    BYTE* writable;  // the image, for the patch
};

void NoteType(int type, int, int, DWORD, void* context)
{
    TypeRange* range = static_cast<TypeRange*>(context);
    if (type >= range->first && type <= range->last)
        range->found = true;
}

void PatchCodePage(int type, int, int, DWORD dataEntryOffset, void* context)
{
    TypeRange* range = static_cast<TypeRange*>(context);
    if (type >= range->first && type <= range->last) {
        BYTE* dataEntry = range->writable + dataEntryOffset;
        dataEntry[8] = static_cast<BYTE>(range->codePage);
        dataEntry[9] = static_cast<BYTE>(range->codePage >> 8);
        dataEntry[10] = static_cast<BYTE>(range->codePage >> 16);
        dataEntry[11] = static_cast<BYTE>(range->codePage >> 24);
    }
}

}  // namespace

WORD ImageMachine(const BYTE* image, DWORD size)
{
    if (!Inside(size, 0, 0x40) || image[0] != 'M' || image[1] != 'Z')
        return 0;
    DWORD pe = Read32(image + 0x3C);
    if (!Inside(size, pe, 24) || Read32(image + pe) != 0x00004550)
        return 0;
    return static_cast<WORD>(Read16(image + pe + 4));
}

bool VisitResources(const BYTE* image, DWORD size, ResourceVisitor visit, void* context)
{
    DWORD start = 0, length = 0;
    if (!FindResourceDirectory(image, size, &start, &length))
        return false;
    const BYTE* base = image + start;
    DWORD types, typeEntry;
    if (!ReadLevel(base, length, 0, &types, &typeEntry))
        return false;
    for (DWORD t = 0; t < types; ++t, typeEntry += 8) {
        DWORD namesAt, names, nameEntry;
        if (!Subdirectory(base + typeEntry, &namesAt) || !ReadLevel(base, length, namesAt, &names, &nameEntry))
            return false;
        for (DWORD n = 0; n < names; ++n, nameEntry += 8) {
            DWORD languagesAt, languages, languageEntry;
            if (!Subdirectory(base + nameEntry, &languagesAt)
                || !ReadLevel(base, length, languagesAt, &languages, &languageEntry))
                return false;
            for (DWORD l = 0; l < languages; ++l, languageEntry += 8) {
                DWORD dataAt;
                if (Subdirectory(base + languageEntry, &dataAt) || !Inside(length, dataAt, 16))
                    return false;
                visit(EntryId(base + typeEntry), EntryId(base + nameEntry), EntryId(base + languageEntry),
                      start + dataAt, context);
            }
        }
    }
    return true;
}

bool HasResourceTypes(const BYTE* image, DWORD size, int firstType, int lastType)
{
    TypeRange range = {firstType, lastType, false, 0, NULL};
    VisitResources(image, size, NoteType, &range);
    return range.found;
}

bool SetResourceCodePage(const char* path, int firstType, int lastType, DWORD codePage)
{
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool done = false;
    DWORD high = 0;
    DWORD size = GetFileSize(file, &high);
    HANDLE mapping = (high == 0 && size != INVALID_FILE_SIZE && size > 0)
        ? CreateFileMappingA(file, NULL, PAGE_READWRITE, 0, 0, NULL) : NULL;
    if (mapping) {
        BYTE* view = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        if (view) {
            TypeRange range = {firstType, lastType, false, codePage, view};
            done = VisitResources(view, size, PatchCodePage, &range);
            done = FlushViewOfFile(view, 0) && done;
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    CloseHandle(file);
    return done;
}
