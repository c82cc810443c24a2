#pragma once
// Decoding a picture's Base64 text into its file.

#include <string>

class RunHost;
class TextFile;

// Decodes text (standard alphabet; every other character, "=" included, is skipped wherever it stands)
// and writes the bytes to file with the force flag, in chunks of 64 KiB. Moves the stage progress bar
// and lets window events run once per group of 8 characters. Stops at the first failed write (the
// file object has shown its message) and returns false; true otherwise.
bool DECODEBASE64(const std::string& text, TextFile& file, RunHost& host);
