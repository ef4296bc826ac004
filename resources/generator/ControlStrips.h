#pragma once
// The picture strips of the toolkit's further controls (ids 120 and up).

#include "Lettering.h"

#include <string>

namespace artwork {

// Writes every strip into `directory`; false when one cannot be written.
bool writeControlStrips(const Lettering& letters, const std::string& directory);

} // namespace artwork
