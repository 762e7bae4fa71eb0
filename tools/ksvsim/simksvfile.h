#pragma once

#include "simdescription.h"

#include <QString>

// A module stored in an offline command-list file (.ksv), to be played by the simulator: its
// identification text, its description and its stored values as the factory values.
class TSimKsvFile {
public:
    // module counts from 1 in file order. Throws std::runtime_error when the file cannot be
    // read, is no command-list file or has no such module.
    static TSimDescription Load(const QString &path, int module);
};
