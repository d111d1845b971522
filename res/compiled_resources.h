#pragma once
// The program's compiled resources (the .res that windres makes from res/vela40ps.rc), built into
// the program in both builds so that the headless UI backend creates its controls from the same
// dialog templates as Win32.
//
// Format: a sequence of DWORD-aligned records, the first an empty 32-byte one; each record is
// DataSize, HeaderSize (DWORDs), TYPE and NAME (0xFFFF + WORD ordinal, or a NUL-terminated UTF-16
// name), DWORD alignment, DataVersion (DWORD), MemoryFlags, LanguageId (WORDs), Version and
// Characteristics (DWORDs), then DataSize bytes of data. Every dialog is a DLGTEMPLATEEX with
// DS_SETFONT; a control's class is an ordinal (0x80 button to 0x85 combo box) or a name
// ("MSCTLS_UPDOWN32", "MSCTLS_PROGRESS32", "SYSDATETIMEPICK32", "STATIC", upper-cased by
// windres: compare names without regard to case).
#include <span>

namespace res {

std::span<const unsigned char> CompiledResources();

} // namespace res
