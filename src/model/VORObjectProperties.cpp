#include "model/VORObjectProperties.h"

VORObjectProperties::~VORObjectProperties() = default;
