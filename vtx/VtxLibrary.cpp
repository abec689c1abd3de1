// vnvtx32 holds the whole videotex core (linked in entire); CVtx::New is its entry point.
#include "vtx/CVtx.h"
