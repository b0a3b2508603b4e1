#include "model/VORSkippedObjects.h"

void VORCountSkippedObject(VORFile & /*file*/) {}
