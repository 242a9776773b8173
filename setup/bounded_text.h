// Bounded string composition into fixed buffers. A piece that does not fit leaves
// the buffer as it was and reports false, so a caller can never overflow it.
#ifndef BOUNDED_TEXT_H
#define BOUNDED_TEXT_H

#include <windows.h>

// Length of a NUL-terminated string.
inline DWORD TextLength(const char* text)
{
    DWORD length = 0;
    while (text[length])
        ++length;
    return length;
}

// Appends `text` to the string held in `buffer` of `capacity` bytes.
inline bool AppendText(char* buffer, DWORD capacity, const char* text)
{
    DWORD used = TextLength(buffer);
    DWORD added = TextLength(text);
    if (used >= capacity || added > capacity - 1 - used)
        return false;
    for (DWORD i = 0; i <= added; ++i)
        buffer[used + i] = text[i];
    return true;
}

// Replaces the string in `buffer` by `text`.
inline bool CopyText(char* buffer, DWORD capacity, const char* text)
{
    if (capacity == 0)
        return false;
    char saved = buffer[0];
    buffer[0] = 0;
    if (AppendText(buffer, capacity, text))
        return true;
    buffer[0] = saved;
    return false;
}

#endif
