#pragma once
// One fuzz input through a whole conversion run, with the checks that must hold for any book.
//
// Input layout: byte 0 option bits (overwrite, binaries, only binaries, prefix, wide spacing, log,
// background, contents, from bit 0 up); byte 1 contents layout (bits 0-1, 0 and 1 mean layout 1) and
// epigraph indents (bits 2-7); byte 2 the scanner's block size (0 means 3000); byte 3 the answers to
// questions, one bit per question in turn (1 = Yes), cycling. The rest is the book.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzzing {

constexpr size_t kHeaderSize = 4;

// Runs GOPROCESS on the input in a private scratch folder and returns the first broken rule, or an
// empty text when all hold: nothing is created or changed outside the output folder, the output
// folder holds only plain files, the end message "400018" is shown exactly when the run says it
// succeeded, and a failed run has shown a message. Never blocks: every message box is answered at once.
std::string runConversion(const uint8_t* data, size_t size);

} // namespace fuzzing
