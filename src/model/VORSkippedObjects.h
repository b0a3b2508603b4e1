#pragma once

class VORFile;

// Adds one to the compiled file's count of referenced objects whose record
// was missing; other kinds of file keep no count.
void VORCountSkippedObject(VORFile &file);
