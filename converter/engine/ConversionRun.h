#pragma once
// GOPROCESS: one conversion of one FB2 book into HTML. Creates the run's files (main file, log,
// contents, frameset, as the options say), copies the background picture, scans the book, inserts the
// contents into the main file in layout 1, closes everything and reports the end. Every failure is
// shown to the user where it happens; nothing is thrown.

#include <cstdint>
#include <string>

class RunHost;

// True when the run reached its end (also after a stop the user confirmed); false when it ended early
// (a refused start, a file that could not be opened or created, mismatched tags, a failed write).
// blockSize is the scanner's block (tests use tiny blocks to prove block boundaries change nothing).
bool GOPROCESS(RunHost& host, const std::string& sourcePath, const std::string& resultPath,
               uint32_t blockSize = 3000);
