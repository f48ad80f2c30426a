#pragma once
// This process's memory as Linux reports it: a field of /proc/self/status ("VmRSS:" now,
// "VmHWM:" at its peak) in kilobytes, 0 when it cannot be read.

#include <fstream>
#include <string>

inline long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == field) {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}
