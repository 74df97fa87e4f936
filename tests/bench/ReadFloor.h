#pragma once

#include <cstdint>
#include <string>

// What reading a diary costs at the least: every month file read, unscrambled, decoded from
// code page 932 and split into fields, with the standard library and iconv only. The diary's
// own long steps are measured against it.
struct FloorCount
{
    std::int64_t files = 0;
    std::int64_t bytes = 0;
    std::int64_t records = 0;
    std::int64_t fields = 0;
};

// With `key`, the files are in the encrypted form and are decrypted (and authenticated)
// under it instead of unscrambled.
FloorCount readDiaryFloor(const std::string& dataFolder, const unsigned char* key = nullptr);
