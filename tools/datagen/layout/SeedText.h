#pragma once
// The seeds the importer writes are xz-compressed text; hand-kept seeds are
// plain text. Both are read whole.
#include <string>

namespace qnr::datagen {

// The text of a seed file, decompressed when its name ends in ".xz". False,
// with the reason in error, when it cannot be read or is not valid xz data.
bool ReadSeedText(const std::string& path, std::string& text, std::string& error);

}  // namespace qnr::datagen
