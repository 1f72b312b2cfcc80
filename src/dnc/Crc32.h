// CRC-32 (the polynomial of zip and PNG) of the bytes of a transfer, so that
// the user can compare what went over the line with the file at the other
// end.
#pragma once

#include <cstddef>
#include <cstdint>

// Continues crc over size bytes; start from 0.
uint32_t Crc32(uint32_t crc, const char* data, size_t size);
