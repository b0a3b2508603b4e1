#include "model/VORReferenceReader.h"

#include "model/VORClassRegistry.h"
#include "model/VORFileDataObject.h"
#include "vorfile/VORCompiledFile.h"
#include "vorfile/VORFileException.h"

namespace VORReferenceReader {

void ForEachReference(VORFile &file, const std::function<void(const VORObjectCode &)> &visit) {
  VORObjectKey key = VORObjectKey::None();
  for (bool more = VORCompiledFile::ReadObjectCode(file, key, VORObjectKey::kSize); more;
       more = VORCompiledFile::ReadNextObjectCode(file, key, VORObjectKey::kSize))
    visit(VORObjectCode::FromKey(key));
}

std::unique_ptr<VORFileDataObject> ReadDataObject(VORFile &file, const VORObjectCode &reference) {
  std::unique_ptr<VORCodedObject> created(VORClassRegistry::Instance().Create(reference.GetClassKey(), reference.id));
  auto *dataObject = dynamic_cast<VORFileDataObject *>(created.get());
  if (!dataObject) {
    CountSkipped(file);
    return nullptr;
  }
  std::unique_ptr<VORFileDataObject> object(dataObject);
  static_cast<void>(created.release()); // owned as a data object now
  try {
    object->Read(file);
  } catch (VORFileNonFatalException &) {
    CountSkipped(file);
    return nullptr;
  }
  if (!object->IsValid()) {
    CountSkipped(file);
    return nullptr;
  }
  return object;
}

void CountSkipped(VORFile &file) {
  if (auto *compiled = dynamic_cast<VORCompiledFile *>(&file))
    compiled->CountSkippedObject();
}

} // namespace VORReferenceReader
