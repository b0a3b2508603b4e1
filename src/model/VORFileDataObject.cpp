#include "model/VORFileDataObject.h"

VORFileDataObject::~VORFileDataObject() = default;

void VORFileDataObject::Read(VORFile & /*file*/) {}
