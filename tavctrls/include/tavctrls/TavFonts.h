#pragma once

#include <string>
#include <vector>

// The installed font families, one entry per family, sorted, without duplicates: names that text
// drawing finds again.
std::vector<std::string> TavGetFontFamilies();
