// Must not compile: the code generator knows nothing of the library.
#include "TavCtrls.h"
