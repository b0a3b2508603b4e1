#include "model/VORResourceFile.h"

VORResourceFile::~VORResourceFile() = default;
