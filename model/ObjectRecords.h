#pragma once

#include "model/ObjectDef.h"

#include <string>
#include <vector>

namespace tav {

class LineReader;

// Appends the records of `objects` to `out`, each exactly as the project file writes it.
void AppendObjectRecords(const std::vector<const ObjectDef*>& objects, std::string& out);

// Reads the next object record into `object` strictly: numbers as the writer writes them and the
// frame marker in place. False when the lines end inside it (`error` then empty, or the reader's
// failure) or when a line is damaged (`error` says which).
bool ReadObjectRecord(LineReader& lines, ObjectDef& object, std::string& error);

} // namespace tav
