#pragma once

#include <functional>
#include <memory>

#include "model/VORObjectCode.h"

class VORFile;
class VORFileDataObject;

// The pattern by which records list other objects: their references are the
// keys of the keyed folders of the open folder, in file order, and each
// object's record is in its folder. The event map, the event list and the
// event read their contents through it.
namespace VORReferenceReader {

// Calls visit with every reference stored as a key of the innermost open
// folder, in order, the none reference included.
void ForEachReference(VORFile &file, const std::function<void(const VORObjectCode &)> &visit);

// Creates the object the reference names through the class registry and
// reads it. Null when the class is unknown or no file data object, when its
// record is missing, or when it is not valid; each of these counts as a
// skipped object of the file.
std::unique_ptr<VORFileDataObject> ReadDataObject(VORFile &file, const VORObjectCode &reference);

// One more object the file referenced but the reader could not keep.
void CountSkipped(VORFile &file);

} // namespace VORReferenceReader
