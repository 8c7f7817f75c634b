#pragma once
// Marks the C entry points the library exports; everything else has hidden visibility and the
// linker's version script keeps the export list to exactly these.

#define TALSIM_EXPORT extern "C" __attribute__((visibility("default")))
// For data inside an extern "C" block.
#define TALSIM_EXPORT_DATA __attribute__((visibility("default")))
