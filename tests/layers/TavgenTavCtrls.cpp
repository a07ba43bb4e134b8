// Must not compile: the command-line tool knows nothing of the library.
#include "tavctrls/TavCtrls.h"
