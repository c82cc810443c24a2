#pragma once
// Marks the names that libkelmora.so exports; everything else in the library stays hidden.
#define KELMORA_EXPORT __attribute__((visibility("default")))
