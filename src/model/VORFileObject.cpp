#include "model/VORFileObject.h"

VORFileObject::~VORFileObject() = default;

void VORFileObject::Read(VORFile & /*file*/) {}
