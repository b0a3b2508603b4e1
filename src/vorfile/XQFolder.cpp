#include "vorfile/XQFolder.h"

XQFolder::~XQFolder() = default;
