#pragma once
// Marks the names that libkelmora.so exports; everything else in the library stays hidden.
#define KELMORA_EXPORT __attribute__((visibility("default")))
// Keeps a member of an exported class out of the library's interface.
#define KELMORA_HIDDEN __attribute__((visibility("hidden")))
