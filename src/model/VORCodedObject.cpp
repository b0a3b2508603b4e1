#include "model/VORCodedObject.h"

VORCodedObject::~VORCodedObject() = default;
